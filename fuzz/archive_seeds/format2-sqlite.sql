-- Sweep archive 2 (SQLite)
-- 삭제 전에 보관한 행입니다. 이 스크립트를 실행하면 행이 되돌아갑니다.
-- 시각: 2026-12-07 04:01:16
-- 컴퓨터: POS-01 (192.0.2.2)
-- 서버: SQLite
-- 데이터베이스: /pos/demo.sqlite
-- 작업: 결제취소삭제
-- 표: T, U
-- 삭제 문장:
--   delete from T
INSERT INTO T ("A","B","C") VALUES (1,'it''s',X'00ff');
INSERT INTO T ("A","B","C") VALUES (2,'a'||char(0)||'b
c',NULL);
INSERT INTO T ("A","B","C") VALUES (-3.5e-7,CAST(X'C3FF' AS TEXT),X'');
INSERT INTO U ("A") VALUES ('2024-06-14 13:40:12');
-- 끝: T 3, U 1; SHA-256 f5099db8d43f226d77483d9ed32ac00f24aee5a001a9677661bdabe09fcb536c

-- Sweep archive (SQLite)
-- 삭제 전에 보관한 행입니다. 이 스크립트를 실행하면 행이 되돌아갑니다.
-- 시각: 2026-12-06 09:30:00
-- 컴퓨터: 192.168.0.10
-- 작업: 배달전체삭제
-- 데이터베이스: /pos/demo.sqlite
-- 삭제 문장:
--   DELETE FROM T
-- 행 수 T:            3
INSERT INTO T ("A","B","C") VALUES (1,'it''s',X'00ff');
INSERT INTO T ("A","B","C") VALUES (2,'a'||char(0)||'b
c',NULL);
INSERT INTO T ("A","B","C") VALUES (-3.5e-7,CAST(X'C3FF' AS TEXT),X'');

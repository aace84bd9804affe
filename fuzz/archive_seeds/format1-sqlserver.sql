-- Sweep archive (SQL Server)
-- 삭제 전에 보관한 행입니다. 이 스크립트를 실행하면 행이 되돌아갑니다.
-- 시각: 2026-12-06 09:30:00
-- 컴퓨터: 192.168.0.10
-- 작업: 현황삭제
-- 데이터베이스: FOOD
-- 삭제 문장:
--   DELETE FROM PE
--    WHERE PE_CK='0'
-- 행 수 PE:            2
SET IDENTITY_INSERT PE ON;
INSERT INTO PE ([PE_ID],[PE]]X]) VALUES (1,N'a'+NCHAR(0)+N'b');
INSERT INTO PE ([PE_ID],[PE]]X]) VALUES (0x00FF,CAST(N'' AS nvarchar(max))+N'x'+NCHAR(55296));
SET IDENTITY_INSERT PE OFF;

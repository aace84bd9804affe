# Windows: configures, builds and runs every test with the windows preset (see README, "Building on
# Windows"). Needs QTDIR and VCPKG_ROOT. SQL Server tests run when SWEEP_TEST_MSSQL names a server.
$ErrorActionPreference = "Stop"
Set-Location (Join-Path $PSScriptRoot "..")
foreach ($name in "QTDIR", "VCPKG_ROOT") {
    if (-not [Environment]::GetEnvironmentVariable($name)) {
        Write-Error "$name is not set: see README, Building on Windows"
    }
}
cmake --preset windows
if ($LASTEXITCODE -ne 0) { exit $LASTEXITCODE }
cmake --build --preset windows --parallel
if ($LASTEXITCODE -ne 0) { exit $LASTEXITCODE }
$env:QT_QPA_PLATFORM = "offscreen"
ctest --preset windows --parallel $env:NUMBER_OF_PROCESSORS
exit $LASTEXITCODE

#pragma once
// Included first into every test of the Windows build. Windows has no user ids and no POSIX file
// permissions, and wine runs every program as an administrator, so a test that asks whether it runs
// as root takes the root branch there: the permission cases are skipped, as for root ("root ignores
// file permissions"), and the tools that root uses (mount, chattr) fail to start, so those cases
// skip themselves with their own reason.
#ifdef _WIN32
inline unsigned geteuid()
{
    return 0;
}
#endif

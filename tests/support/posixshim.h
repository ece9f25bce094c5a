#pragma once
// Included first into every test of the Windows build. Windows has no user ids: a test that asks
// whether it runs as root (to mount a small file system, or because root ignores permissions)
// sees an ordinary user there.
#ifdef _WIN32
inline unsigned geteuid()
{
    return 1000;
}
#endif

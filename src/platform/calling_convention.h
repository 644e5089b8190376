// The calling convention of the Windows API where it differs from C's: on
// 32-bit Windows the system's functions and the procedures it calls back
// (window procedures) are stdcall, the callee removing its arguments. On
// 64-bit Windows and elsewhere there is one convention, and this is empty.
#pragma once

#if defined(_WIN32) && defined(__i386__)
#define VLMR_WINAPI __attribute__((stdcall))
#else
#define VLMR_WINAPI
#endif

/* A small DLL, the in-memory loader's test data. Built without the C runtime
   so that it imports one function only and runs nothing but its own code:
   a TLS callback and an entry point that count their calls, data with
   absolute addresses (relocated when the image is mapped elsewhere), a
   zero-filled section without raw data, and exports by name and ordinal
   (test_image.def). REFUSE_ATTACH builds the variant whose entry point
   refuses the process attach. */
#include <windows.h>

LONG tls_attaches;
LONG entry_attaches;
LONG *detach_counter;  /* the caller's counter, incremented on detach */
char zeroes[3 * 4096]; /* .bss: a section without raw data */
const int answer_value = 42;
const int *const answer_address = &answer_value; /* an absolute address */

void NTAPI OnTls(PVOID module, DWORD reason, PVOID reserved) {
  (void)module;
  (void)reserved;
  if (reason == DLL_PROCESS_ATTACH) ++tls_attaches;
}

/* The TLS directory, which the linker finds by this name. */
ULONG _tls_index;
PIMAGE_TLS_CALLBACK tls_callbacks[] = {OnTls, 0};
const IMAGE_TLS_DIRECTORY _tls_used = {0, 0, (ULONG_PTR)&_tls_index, (ULONG_PTR)tls_callbacks, 0, 0};

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)instance;
  (void)reserved;
  if (reason == DLL_PROCESS_ATTACH) ++entry_attaches;
  if (reason == DLL_PROCESS_DETACH && detach_counter) ++*detach_counter;
#ifdef REFUSE_ATTACH
  return reason != DLL_PROCESS_ATTACH;
#else
  return TRUE;
#endif
}

void WINAPI CountDetachesIn(LONG *counter) { detach_counter = counter; }

int WINAPI ControlSendMessage(int control, int message) { return control * 1000 + message; }

/* The address of GetTickCount as the image's import table holds it. */
void *WINAPI TickCountImport(void) { return (void *)&GetTickCount; }

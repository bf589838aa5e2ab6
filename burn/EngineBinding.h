#pragma once
// The burning engine, found through the registry and loaded at run time.
// The program calls the engine's entry points by their own names
// (engine/include/NeroAPI.h): each is a wrapper here that looks the entry
// point up at every call and returns a fixed default when no engine is
// loaded or the entry point is missing.
#include <string>

#include "engine/include/NeroAPI.h"

// Unloads any engine, finds and loads the engine library and pins the
// interface version. False when it cannot be found, loaded or pinned.
bool EngineLoad();
void EngineUnload();
bool EngineIsLoaded();
// The engine's interface version (NeroGetAPIVersion), read at start; the
// rules for older engines follow it.
extern unsigned int g_nEngineVersion;

// Where the registry says the engine is: the folder of NeroAPI.dll, with
// the write-backs of the search; empty when it says nothing usable.
std::string FindEngineFolder();

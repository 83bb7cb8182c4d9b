#pragma once
// The names the profile store is found by, shared by each platform's store.
#include <string>

// What SetRegistryKey was given.
const std::string& RegistryKeyText();

// The running program's file, as the platform reports it; empty when it
// cannot say. Each platform's store defines it.
std::string RunningProgramPath();

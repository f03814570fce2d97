#pragma once
// The directory of the shared object that holds this code, with its trailing
// '/' (where vendor device-plug-in modules are placed); empty when unknown.
#include <string>

std::string OwnModuleDirectory();

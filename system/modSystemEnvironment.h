#pragma once
// The system's own environment values, read from the system, for the program and for
// the commands it starts.
#include "system/SystemEnvironment.h"

namespace modSystemEnvironment {

SystemEnvironment::Facts ReadFacts();

// The first thing the program does: its own variables set to the system's values.
void UseSystemEnvironment();

}  // namespace modSystemEnvironment

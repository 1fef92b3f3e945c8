#include "ModuleInstance.h"

void* moduleInstance = nullptr;

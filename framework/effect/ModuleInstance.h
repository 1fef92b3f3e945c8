// The library's own module handle, stored by its start-up hook.
#pragma once

/// On Windows the instance handle the loader passes to the start-up hook; on
/// other systems a handle that identifies this library among those loaded.
extern void* moduleInstance;

// A stand-in for the system's volume label tool, for the virtual-drive tests (Wine has none): it
// only records its run. The library never starts the label tool, so a record of it is a fault.
#include <windows.h>

#include "tool_log.h"

int wmain() {
    zolbex::tools::RecordRun(L"label");
    return 0;
}

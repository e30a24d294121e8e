#include "kernel/dialog.h"

#include "kernel/log.h"

int SystemMessageDialog(int number, const char* detail) {
    LogSystemMessage(number, detail);
    return 0;
}

#include "maintenance/CleanArea.h"

void CleanArea::cmd_Clean_Click() {}

#include "maintenance/OpenTableArea.h"

void OpenTableArea::cmd_TBSerch_Click() {}

void OpenTableArea::cmd_delete_Click() {}

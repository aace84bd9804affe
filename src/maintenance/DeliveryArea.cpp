#include "maintenance/DeliveryArea.h"

void DeliveryArea::cmd_DTD_Serch_Click() {}

void DeliveryArea::CMD_DTD_DELETE_Click() {}

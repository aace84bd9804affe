#include "maintenance/PayCancelArea.h"

void PayCancelArea::cmd_PaySerch_Click() {}

void PayCancelArea::cmd_payDelete_Click() {}

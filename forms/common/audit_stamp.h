#pragma once

// The stamp lives with the services, which write it on the rows of the documents they save
// (bills and payables too); the windows keep including it from here.
#include "services/audit_stamp.h"

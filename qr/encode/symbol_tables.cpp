// The standard tables are constexpr data in symbol_tables.h.
#include "qr/encode/symbol_tables.h"

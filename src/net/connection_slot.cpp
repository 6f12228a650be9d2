#include "net/connection_slot.h"

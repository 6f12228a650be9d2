#include "net/tcp_listener.h"

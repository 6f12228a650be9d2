#include "net/tcp_connection.h"

#include "net/stream_socket.h"

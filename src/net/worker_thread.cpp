#include "net/worker_thread.h"

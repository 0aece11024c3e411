#include "host/saver_host.h"

SaverHost& saverHost() {
    static SaverHost host;
    return host;
}

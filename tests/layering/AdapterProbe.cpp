// Pages and dialogs never reach the adapter: this include must not be found.
#include "adapter/WirelessAdapter.h"

int adapterProbe() {
    return 0;
}

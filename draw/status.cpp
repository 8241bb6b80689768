#include "draw/status.h"

namespace varnelo::draw {
namespace {
int lastStatus = kStatusOk;
}

int LastStatus() { return lastStatus; }
void SetLastStatus(int status) { lastStatus = status; }

}  // namespace varnelo::draw

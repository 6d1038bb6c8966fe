#include "core/receiver/PulseCapture.h"

namespace quillon {

void PulseCapture::CarrierChanged(std::int64_t counter) {
  if (Device.ModemStatus() == 0) return;
  Pipeline.TakeEdge(counter, EdgeSource::ModemStatus);
}

void PulseCapture::DataArrived(std::int64_t counter) {
  if (!Pipeline.PtkFound) return;
  Pipeline.TakeEdge(counter, EdgeSource::DataArrival);
}

}  // namespace quillon

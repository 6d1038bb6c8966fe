#pragma once

#include <cstdint>

#include "core/receiver/ReceivePipeline.h"
#include "platform/SerialDevice.h"

namespace quillon {

// The two serial-line handlers that time the edges of a burst into the receive pipeline.
// A bare demodulator drives carrier detect, so each change of that line is an edge; a
// microcontroller receiver marks the edges of a burst by sending bytes, so each arrival of
// data is one. Each handler gets the counter reading the device took when it saw the event.
class PulseCapture {
 public:
  PulseCapture(ReceivePipeline& pipeline, const platform::SerialDevice& device)
      : Pipeline(pipeline), Device(device) {}

  // A change of carrier detect. A modem status of 0 (no input line on) is no edge: it is what
  // a port reports that cannot read its lines.
  void CarrierChanged(std::int64_t counter);

  // An arrival of data; an edge only once a microcontroller receiver has answered (PtkFound).
  void DataArrived(std::int64_t counter);

 private:
  ReceivePipeline& Pipeline;
  const platform::SerialDevice& Device;
};

}  // namespace quillon

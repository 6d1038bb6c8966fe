#include "core/receiver/ReceiverChoice.h"

#include <string>

namespace quillon {

Result<std::unique_ptr<Receiver>> CreateReceiver(std::string_view choice, ReceivePipeline& pipeline,
                                                 platform::EventLoop& loop,
                                                 const platform::Clock& clock,
                                                 platform::IrDevice& device, ReceiverEvents events,
                                                 const ReceiverOptions& options) {
  const std::size_t colon = choice.find(':');
  const std::string_view kind = choice.substr(0, colon);
  const std::string path(colon == std::string_view::npos ? "" : choice.substr(colon + 1));
  if (colon == std::string_view::npos || (kind != "replay" && kind != "lirc")) {
    return Error{"\"" + std::string(choice) +
                 "\" names no receiver: use replay:FILE or lirc:DEVICE"};
  }
  if (path.empty()) {
    return Error{"\"" + std::string(choice) + "\" names no " +
                 (kind == "replay" ? "file" : "device")};
  }
  std::unique_ptr<Receiver> receiver;
  if (kind == "replay") {
    receiver = std::make_unique<ReplayReceiver>(pipeline, loop, clock, device, path,
                                                std::move(events), options.Replay);
  } else {
    receiver = std::make_unique<LircReceiver>(pipeline, loop, clock, device, path,
                                              std::move(events), options.Lirc);
  }
  return receiver;
}

}  // namespace quillon

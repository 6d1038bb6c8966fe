#include "core/receiver/PtkHandOver.h"

namespace quillon {

LineVariant VariantFor(ReceiveModeKind mode) {
  return mode == ReceiveModeKind::Execute || mode == ReceiveModeKind::LearnButton
             ? LineVariant::Keys
             : LineVariant::Measure;
}

void HandOverKeyLine(const ReceivePipeline& pipeline, const BurstConsumers& consumers,
                     const KeyLineConsumers& lineConsumers, const KeyLine& line) {
  const LineDecode& decoded = line.Decoded;
  switch (pipeline.ReceiveMode) {
    case ReceiveModeKind::Execute:
      if (consumers.Dispatcher != nullptr) {
        consumers.Dispatcher->KeyDispatch(decoded.Code, decoded.RepeatFrame);
      }
      break;
    case ReceiveModeKind::LearnButton:
      if (consumers.Capture != nullptr) {
        consumers.Capture->ButtonCapture(decoded.Code, decoded.RepeatFrame);
      }
      break;
    case ReceiveModeKind::SignalLengthTest:
      if (consumers.SignalLength != nullptr) {
        consumers.SignalLength->SignalLengthAnalysis(decoded.Code, std::nullopt);
      }
      break;
    case ReceiveModeKind::HoldButtonTest:
    case ReceiveModeKind::ReceiverReadyTest:
      if (lineConsumers.HoldLines != nullptr) lineConsumers.HoldLines->HoldLineAnalysis(line);
      break;
    case ReceiveModeKind::Pause:
      if (lineConsumers.ReadyCheck != nullptr) {
        lineConsumers.ReadyCheck->ReceiverReadyCheck(decoded.Code, decoded.Threshold);
      }
      break;
  }
}

}  // namespace quillon

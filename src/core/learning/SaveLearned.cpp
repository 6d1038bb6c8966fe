// Save: the learned remote into a remote data file, named in the save dialog.

#include <algorithm>

#include "core/learning/LearningProcedure.h"
#include "core/learning/RemoteFile.h"
#include "core/learning/SaveDialog.h"
#include "core/recognition/TemplateFile.h"

namespace quillon {

void LearningProcedure::SaveLearned() {
  SaveDialog dialog;
  The.View.ShowSaveDialog(dialog);
  if (dialog.Result != DialogResult::Ok) return;

  const RemoteData& remote = *The.Remote.Record;
  RemoteSaveRequest request;
  request.Producer = dialog.Producer;
  request.Model = dialog.Model;
  request.KeyGrid = &Keys;
  request.LockUpGrid = &LockUps;
  request.NominalLength = S.NominalLengthValue;
  request.Trains = &Trains;
  request.LearnedWithPTK = Ptk();
  // The timing character in use: the protocol's, else the remote's, at least a blank.
  request.ReceiverT = The.Protocol != nullptr ? static_cast<char>(The.Protocol->ReceiverT)
                                              : std::max(remote.ReceiverT, ' ');
  request.KeyTimerInterval = The.Settings.KeysDelay;
  request.MaxValueError = The.Settings.MaxValueError;
  const auto confirm = [this](std::string_view question) {
    return The.View.ShowMessage(ComposeMessageBox(The.Language, question, MessageButtons::OkCancel,
                                                  MessageKind::Confirmation)) == MessageAnswer::Ok;
  };
  const Result<bool> saved =
      SaveRemoteFile(The.RemoteFolder, request, The.Remote, confirm, The.Language);
  // A save that fails is said, and the learned data stay for another try: nothing counts as
  // saved that is not on the disk.
  if (!saved) {
    Message(Say(LearningText::DataNotSaved) + saved.ErrorMessage(), MessageKind::Error);
    return;
  }
  if (!saved.Value()) return;
  // The templates go beside the remote data file; a remote learned without them leaves no
  // companion file of an earlier remote of the same name.
  RemoteTemplates templates = LearnedTemplates;
  PrepareTemplates(templates, Tolerance{});
  const Result<Done> companion = SaveTemplateFile(
      CompanionPath(The.RemoteFolder / RemoteFileName(dialog.Producer, dialog.Model)), templates);
  if (!companion) {
    Message(Say(LearningText::DataNotSaved) + companion.ErrorMessage(), MessageKind::Error);
    return;
  }
  S.LearnSaved = true;
  Log(LearningText::End);
  SetSaveCaption(false);
  The.View.SetLabelCheckVisible(false);
  The.View.PlaceLabelCheck(1);
}

}  // namespace quillon

#include "core/config/KeyDispatch.h"

#include <algorithm>

#include "core/common/Cp1251.h"
#include "core/common/WaitPumping.h"
#include "core/config/ConfigTexts.h"
#include "core/config/NodeText.h"

namespace quillon {

namespace {

constexpr std::size_t MaxCode = 255;
constexpr std::uint32_t UnknownKeyWaitMs = 5;
constexpr std::string_view NamedGroupKey = " - [Group Key][";

bool IsGroupText(const BracketFields& fields) {
  return fields[0] == GroupKeyField || fields[1] == GroupKeyField;
}

}  // namespace

CommandDispatcher::CommandDispatcher(ReceivePipeline& pipeline, const ConfigTree& tree,
                                     const RemoteData& remote, HintDisplay& display,
                                     CommandExecutor& executor, platform::EventLoop& loop,
                                     const platform::Clock& clock, const DispatchOptions& options)
    : Matcher(remote),
      Pipeline(pipeline),
      Tree(tree),
      Remote(remote),
      Display(display),
      Executor(executor),
      Loop(loop),
      Clock(clock),
      Options(options),
      Timer2(loop.CreateTimer([this] {
        Timer2->Disable();
        Display.CloseHint();
      })) {
  Timer2->SetInterval(FirstHintInterval);
}

std::string CommandDispatcher::KeyLabel(std::int32_t key) const {
  return std::to_string(key) + ". " + Remote.Keys[static_cast<std::size_t>(key)].Name.Text();
}

void CommandDispatcher::ResetGroups() {
  GroupDepth = 0;
  GroupLevels.fill(0);
  GroupTexts.fill(std::string());
}

void CommandDispatcher::KeyDispatch(const std::string& code, bool repeatFrame) {
  Pipeline.ReceiveEnabled = false;
  LastCode = CutToStoredLength(code, MaxCode);

  // A repeat frame decodes to an empty code; it is looked up too, so a held button repeats,
  // and so is a burst the button templates answer.
  KeyMatch match;
  if (!code.empty() || repeatFrame || Matcher.TemplateAnswerPending()) {
    Timer2->Enable();
    match = Matcher.Lookup(code, repeatFrame);
  }
  LastMatch = match;
  if (!match.Found && repeatFrame) Display.CloseHint();

  if (match.Found && match.KeyNumber > 0) {
    const CommandLookup lookup = FindCommand(match.KeyNumber);
    if (lookup.Record.Kind == CommandKind::None) {
      const LearnedKey& key = Remote.Keys[static_cast<std::size_t>(match.KeyNumber)];
      Display.IRShowHint(std::to_string(key.KeyNumber) + "." + key.Name.Text() +
                         std::string(Text(ConfigText::NoCommandApplied, Options.Language)));
    }
    Executor.ExecuteCommand(lookup.Record);
    if (!lookup.Hint.empty()) Display.IRShowHint(lookup.Hint);
  } else if (!match.Found) {
    WaitPumping(Loop, Clock, UnknownKeyWaitMs);
  }

  if (!code.empty() && !match.Found && Pipeline.PtkFound && Options.ShowUnknownButton) {
    Display.IRShowHint(std::string(Text(ConfigText::UnknownKey, Options.Language)));
  }
  Pipeline.ReceiveEnabled = true;
}

CommandLookup CommandDispatcher::FindCommand(std::int32_t key) {
  CommandLookup result;
  CommandRecord& record = result.Record;
  if (Tree.Empty() || key < 1 || key >= TableEntries) return result;

  // 1. The root's window and application until a group says otherwise.
  const BracketFields root = SplitBracketFields(Tree.Text(0), BracketMode::Fields);
  record.WindowName = root[0];
  record.ApplicationPath = root[1];
  std::string label = KeyLabel(key);

  // 2. The search range: the whole tree, or the innermost open group's key node and its key list.
  std::int32_t first = 0;
  std::int32_t last = GroupDepth == 0 ? Tree.Count() - 1 : 0;
  for (std::int32_t i = 0; i < Tree.Count(); ++i) {
    const std::string& text = Tree.Text(i);
    if (text.empty() || text != GroupTexts[static_cast<std::size_t>(GroupDepth)]) continue;
    if (GroupDepth != 0 && Tree.Level(i) > GroupDepth) continue;
    const BracketFields fields = SplitBracketFields(text, BracketMode::Fields);
    const std::size_t f = fields[1] == GroupKeyField ? 3 : 2;
    record.WindowName = fields[f - 1];
    record.ApplicationPath = fields[f];
    // A group key node without children still answers its own key, so it can be closed.
    first = i;
    last = Tree.HasChildren(i) ? Tree.LastChild(i) : i;
  }

  // 3. The first node of the range that gives this key a command text.
  const std::int32_t groupLevel = GroupLevels[static_cast<std::size_t>(GroupDepth)];
  std::string command;
  std::string hint;
  std::int32_t node = -1;
  for (std::int32_t i = first; i <= last && command.empty(); ++i) {
    const std::string& text = Tree.Text(i);
    if (!text.starts_with(label)) continue;
    const bool plainKey = text.find(NamedGroupKey) == std::string::npos &&
                          SplitBracketFields(text, BracketMode::Prefix)[0].size() == label.size();
    if (plainKey) {
      hint = SplitBracketFields(text, BracketMode::Last)[0];
      if (hint.empty()) hint = label;
      if (Tree.HasChildren(i) && Tree.Level(i) == groupLevel + 1) {
        command = Tree.Text(Tree.FirstChild(i));
      }
    } else if (Tree.Level(i) == groupLevel || Tree.Level(i) == groupLevel + 1) {
      command = text;
    }
    node = i;
  }
  if (command.empty()) return result;
  const std::int32_t nodeLevel = Tree.Level(node);

  // 4. A group key opens its group, or closes it when it is the innermost open one.
  enum class Toggle { None, Opened, Closed } toggle = Toggle::None;
  std::size_t f = 2;
  const BracketFields commandFields = SplitBracketFields(command, BracketMode::Fields);
  if (IsGroupText(commandFields)) {
    f = commandFields[1] == GroupKeyField ? 3 : 2;
    if (command != GroupTexts[static_cast<std::size_t>(GroupDepth)]) {
      if (GroupDepth + 1 < MaxGroups) {
        ++GroupDepth;
        GroupLevels[static_cast<std::size_t>(GroupDepth)] = nodeLevel;
        GroupTexts[static_cast<std::size_t>(GroupDepth)] = command;
        toggle = Toggle::Opened;
      }
    } else {
      --GroupDepth;
      toggle = Toggle::Closed;
    }
  }

  // 5. The hint: the window of the group now in force (read by that group's own text form,
  // named or not) and the key.
  const std::string& inForce = GroupTexts[static_cast<std::size_t>(GroupDepth)];
  const BracketFields groupFields = SplitBracketFields(inForce, BracketMode::Fields);
  if (IsGroupText(groupFields)) f = groupFields[1] == GroupKeyField ? 3 : 2;
  std::string window = groupFields[f - 1];
  if (!window.empty()) window = "[" + window + "]\r";
  const std::int32_t levelInForce = GroupLevels[static_cast<std::size_t>(GroupDepth)];
  if (nodeLevel == levelInForce + 1) {
    const std::string& nodeText = Tree.Text(node);
    const BracketFields nodeFields = SplitBracketFields(nodeText, BracketMode::Fields);
    if (nodeText.find(NamedGroupKey) != std::string::npos) {
      // A group key that was given a display name before it became one shows that name.
      if (nodeFields[1] == GroupKeyField) hint = nodeFields[0];
    } else if (nodeFields[0] != GroupKeyField) {
      hint = SplitBracketFields(nodeText, BracketMode::Last)[0];
    }
    if (hint.empty()) {
      hint = label;
    } else {
      label = hint;
    }
  }
  switch (toggle) {
    case Toggle::Opened:
      result.Hint = "On[F]\r" + window + label;
      break;
    case Toggle::Closed:
      result.Hint = "Off[F]\r" + window + label;
      break;
    case Toggle::None:
      result.Hint = GroupDepth >= 1 ? "[F" + std::to_string(GroupDepth) + "]\r" + window + label
                                    : (hint.empty() ? label : hint);
      break;
  }

  // 6. The record: the command of a key in the group in force, or a group opened or closed,
  // which carries the window and application of the group now in force.
  if (toggle == Toggle::None && nodeLevel == levelInForce + 1) {
    ParseNodeText(command, record);
  } else {
    record.Kind = CommandKind::GroupKey;
    if (toggle != Toggle::None) {
      const bool atRoot = inForce.empty();
      const BracketFields& fields = atRoot ? root : groupFields;
      const std::size_t field = atRoot ? 1 : f;
      record.WindowName = fields[field - 1];
      record.ApplicationPath = fields[field];
    }
  }
  return result;
}

}  // namespace quillon

// How well the program learns a remote and then recognises its buttons.
//
//   quillon_recognition [--presses N] [--only TEXT] [--receiver pts|ptk] [--details] [--smoke]
//                       [--layer off|decide|lookup-first|overrule] [--tolerance REL ABS MARGIN]
//                       [--jitter PERCENT] [--match-time]
//
// For every remote recorded under samples/ir-captures and for synthetic remotes of the common
// protocols (SyntheticRemotes.h), at each jitter of 0, 5, 10 and 15 %: presses are made by
// holding a button for 60 to 300 ms (the frames and repeat frames the remote sends while
// held), moving marks and spaces by a receiver's skew and every duration at random by up to
// the jitter. The remote is learned as `quillon-tool learn` learns it (LearningDriver: five
// presses per button, the first button held for the hold-button test) and saved; the saved
// file is loaded and N fresh presses of every button (50 unless --presses), in random order,
// go through the program in normal running, the dispatcher's state carried along
// (RecognitionRun). A press is correct when the key found is its button (a capture's same_as
// names count as one button), wrong when another key is found, unrecognized otherwise; a
// button that learning left out can only be unrecognized or wrong.
//
// The table goes to standard output in Markdown (docs/recognition.md holds a run); --details
// adds every wrong press with the dispatch that decided it. --only keeps the remotes whose
// name contains TEXT. --smoke runs the Vizio captures and the NEC remote without jitter and
// fails unless every press is recognised. Everything is seeded: runs are identical.
//
// The saved remote has its button templates (the companion file) unless learning kept none.
// --layer chooses how the key lookup and the templates combine (KeyMatcher's Arbitration;
// `decide` is the program's), or `off` to recognise without the templates, as the
// key lookup alone; --tolerance sets the matcher's relative and absolute tolerance (us) and its
// margin; --jitter measures at that jitter alone. --match-time times the matching of one burst
// against remotes of 100 buttons.

#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "SyntheticRemotes.h"
#include "core/learning/RemoteFile.h"
#include "core/receiver/CaptureFile.h"
#include "core/recognition/TemplateFile.h"
#include "core/recognition/TemplateMatcher.h"
#include "replay/LearningDriver.h"
#include "replay/PressMaker.h"
#include "replay/RecognitionRun.h"

namespace {

using namespace quillon;
namespace fs = std::filesystem;

constexpr std::uint32_t Seed = 20261206;
constexpr std::int64_t TicksPerMs = 10'000;
constexpr std::int64_t ShortestHoldMs = 60;
constexpr std::int64_t LongestHoldMs = 300;
constexpr std::int64_t HoldTestMs = 3000;  // the first button held down for the hold-button test
constexpr std::int64_t SkewTicks = 600;    // marks 60 us longer, spaces 60 us shorter
constexpr std::size_t SyntheticButtons = 20;
constexpr int LearnPresses = LearningDriver::PressesPerButton;
constexpr int Jitters[] = {0, 5, 10, 15};

const fs::path Captures = fs::path(QUILLON_SOURCE_DIR) / "samples/ir-captures";

struct Remote {
  std::string Name;
  bool Recorded = false;
  std::vector<std::string> Labels;
  std::function<Transmission(std::size_t button, std::uint32_t press)> Button;
  NameClasses Classes;
};

struct Config {
  int Presses = 50;
  std::string Only;
  ReceiverKind Receiver = ReceiverKind::Pts;
  bool Details = false;
  bool Smoke = false;
  std::vector<int> JitterLevels{std::begin(Jitters), std::end(Jitters)};
  bool Templates = true;
  Arbitration Arbitrate = Arbitration::TemplatesDecide;
  MatchSettings Matching;
  bool MatchTime = false;
};

// Wrong presses of one cause, with the first of them.
struct WrongPresses {
  std::int64_t Count = 0;
  std::string Example;
};

struct Cell {
  std::int64_t Correct = 0;
  std::int64_t Wrong = 0;
  std::int64_t Unrecognized = 0;
  std::size_t Learned = 0;
  std::string Failure;   // the step that stopped learning
  std::string Decoding;  // what learning found, for --details
  std::map<std::string, WrongPresses> Causes;

  std::int64_t Presses() const { return Correct + Wrong + Unrecognized; }
  void Add(const Cell& other) {
    Correct += other.Correct;
    Wrong += other.Wrong;
    Unrecognized += other.Unrecognized;
  }
};

std::vector<Remote> RecordedRemotes() {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(Captures)) {
    if (entry.path().extension() == ".irc") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  std::vector<Remote> remotes;
  for (const fs::path& file : files) {
    const auto records = ReadCaptureFile(file);
    if (!records) {
      std::cerr << records.ErrorMessage() << "\n";
      std::exit(2);
    }
    Remote remote;
    remote.Name = file.stem().string();
    if (remote.Name.starts_with("fz-")) remote.Name.erase(0, 3);
    remote.Recorded = true;
    std::vector<Transmission> sent;
    for (const CaptureRecord& record : records.Value()) {
      if (!record.SameAs.empty()) remote.Classes.Join(record.Button, record.SameAs);
      if (std::find(remote.Labels.begin(), remote.Labels.end(), record.Button) !=
          remote.Labels.end()) {
        continue;
      }
      remote.Labels.push_back(record.Button);
      sent.push_back(CaptureTransmission(record.Durations));
    }
    remote.Button = [sent](std::size_t button, std::uint32_t /*press*/) { return sent[button]; };
    remotes.push_back(std::move(remote));
  }
  return remotes;
}

std::vector<Remote> SyntheticRemoteList() {
  std::vector<Remote> remotes;
  for (bench::SyntheticRemote& synthetic : bench::SyntheticRemotes(SyntheticButtons)) {
    Remote remote;
    remote.Name = "synthetic " + synthetic.Name;
    remote.Labels = std::move(synthetic.Labels);
    remote.Button = std::move(synthetic.Button);
    remotes.push_back(std::move(remote));
  }
  return remotes;
}

std::uint32_t SeedOf(const std::string& name, int jitter) {
  std::uint32_t seed = Seed + static_cast<std::uint32_t>(jitter);
  for (const char c : name) seed = seed * 31 + static_cast<unsigned char>(c);
  return seed;
}

// Why a press was taken for another button: its own button was never learned; a repeat frame
// repeated the key before it; the code it decoded to was learned by both buttons (the later
// entry wins the lookup); or it decoded to a code that only the other button learned.
std::string Cause(const RemoteData& learned, const std::string& label, const PressOutcome& outcome,
                  const NameClasses& classes) {
  const std::int32_t keys = std::min(learned.KeyCount, TableEntries);
  std::int32_t own = 0;
  for (std::int32_t k = 1; k < keys && own == 0; ++k) {
    if (classes.Same(label, learned.Keys[static_cast<std::size_t>(k)].Name.Text())) own = k;
  }
  const auto holds = [&](std::int32_t key) {
    const auto& data = learned.Keys[static_cast<std::size_t>(key)].Data;
    return std::any_of(data.begin(), data.end(),
                       [&](const auto& code) { return code.Text() == outcome.Code; });
  };
  if (own == 0) return "button not learned";
  if (outcome.Repeat && !holds(*outcome.Key)) return "repeat frame: the key before repeated";
  if (holds(own)) return "shared code: learned by both buttons";
  return "decoded to a code only the other button learned";
}

// The decoding values learning found, in microseconds, and the shape of the key table.
std::string Decoding(const CurrentRemote& current, bool multiLevel) {
  const RemoteData& r = *current.Record;
  std::ostringstream out;
  out << r.StartPulse / 10 << " | " << r.FrameGap / 10 << " | " << r.MaxValue / 10 << " | "
      << r.NominalLength << " | "
      << (multiLevel ? "multi-level, " + std::to_string(current.Limits.LevelCount) + " classes"
                     : std::string("bits"))
      << " | " << (r.Repeat.Valid == 1 ? std::to_string(r.Repeat.RepeatTop + 1) : "-") << " | "
      << r.LockUpCount / 2;
  return out.str();
}

Cell Measure(const Remote& remote, int jitter, const Config& config, const fs::path& folder) {
  // The holds and the order of the presses are the same at every jitter, so that the columns
  // differ by the jitter alone.
  std::mt19937 random(SeedOf(remote.Name, 0));
  std::mt19937 jitterRandom(SeedOf(remote.Name, jitter));
  std::uniform_int_distribution<std::int64_t> hold(ShortestHoldMs * TicksPerMs,
                                                   LongestHoldMs * TicksPerMs);
  std::uint32_t pressCount = 0;
  const auto press = [&](std::size_t button, std::int64_t holdTicks) {
    return Received(HoldPress(remote.Button(button, pressCount++), holdTicks), SkewTicks, jitter,
                    jitterRandom);
  };

  LearningScript script;
  for (std::size_t b = 0; b < remote.Labels.size(); ++b) {
    ButtonPresses button{remote.Labels[b], {}};
    for (int p = 0; p < LearnPresses; ++p) button.Presses.push_back(press(b, hold(random)));
    script.Buttons.push_back(std::move(button));
  }
  script.HoldPresses.push_back(press(0, HoldTestMs * TicksPerMs));
  script.Producer = "Bench";
  script.Model = "Remote";
  script.Receiver = config.Receiver;
  const LearningOutcome learned = LearningDriver(folder, {}).Learn(script);

  Cell cell;
  CurrentRemote current;
  bool loaded = false;
  bool multiLevel = false;
  if (!learned.File.empty()) {
    const auto load = LoadRemoteFile(learned.File, current, English);
    loaded = load && load.Value().Found;
    multiLevel = loaded && load.Value().MultiLevelCoding;
    std::error_code ignored;
    fs::remove(learned.File, ignored);
    fs::remove(CompanionPath(learned.File), ignored);
  }
  if (!config.Templates) current.Templates = {};
  for (const StepFailure& failure : learned.Failures) {
    if (failure.Step != LearningStep::Button) cell.Failure = failure.Text();
  }
  if (loaded) {
    cell.Learned = static_cast<std::size_t>(std::max(current.Record->KeyCount - 1, 0));
    cell.Decoding = Decoding(current, multiLevel);
  }

  std::vector<std::size_t> order;
  for (std::size_t b = 0; b < remote.Labels.size(); ++b) {
    order.insert(order.end(), static_cast<std::size_t>(config.Presses), b);
  }
  std::shuffle(order.begin(), order.end(), random);
  if (!loaded) {
    cell.Unrecognized = static_cast<std::int64_t>(order.size());
    return cell;
  }
  RecognitionRun run(current, multiLevel);
  run.Matcher().Arbitrate = config.Arbitrate;
  run.Matcher().TemplateSettings = config.Matching;
  for (const std::size_t b : order) {
    const std::string& label = remote.Labels[b];
    PressOutcome outcome =
        JudgePress(label, run.Press(press(b, hold(random))), *current.Record, remote.Classes);
    if (outcome.Of == Verdict::Unlabelled) {
      outcome.Of = outcome.Key ? Verdict::Wrong : Verdict::Unrecognized;
    }
    switch (outcome.Of) {
      case Verdict::Correct:
        ++cell.Correct;
        break;
      case Verdict::Wrong:
        ++cell.Wrong;
        if (config.Details) {
          WrongPresses& cause = cell.Causes[Cause(*current.Record, label, outcome, remote.Classes)];
          if (cause.Count++ == 0) {
            cause.Example = label + " taken for " + outcome.Name + ", code `" + outcome.Code + "`";
          }
        }
        break;
      case Verdict::Unrecognized:
      case Verdict::Unlabelled:
        ++cell.Unrecognized;
        break;
    }
  }
  return cell;
}

std::string Share(std::int64_t part, std::int64_t whole) {
  if (whole == 0) return "-";
  char text[16];
  std::snprintf(text, sizeof text, "%.1f",
                100.0 * static_cast<double>(part) / static_cast<double>(whole));
  return text;
}

std::string CellText(const Cell& cell, std::size_t buttons) {
  std::string text = std::to_string(cell.Correct) + " / " + std::to_string(cell.Wrong) + " / " +
                     std::to_string(cell.Unrecognized);
  if (!cell.Failure.empty()) return text + " (not learned)";
  if (cell.Learned < buttons) {
    text += " (" + std::to_string(cell.Learned) + " of " + std::to_string(buttons) + " learned)";
  }
  return text;
}

std::string TotalText(const Cell& cell) {
  return Share(cell.Correct, cell.Presses()) + " / " + Share(cell.Wrong, cell.Presses()) + " / " +
         Share(cell.Unrecognized, cell.Presses()) + " %";
}

Config ReadArguments(int argc, char** argv) {
  Config config;
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    const bool hasValue = i + 1 < argc;
    if (argument == "--presses" && hasValue) {
      config.Presses = std::max(1, std::atoi(argv[++i]));
    } else if (argument == "--only" && hasValue) {
      config.Only = argv[++i];
    } else if (argument == "--receiver" && hasValue &&
               (std::string_view(argv[i + 1]) == "pts" || std::string_view(argv[i + 1]) == "ptk")) {
      config.Receiver =
          std::string_view(argv[++i]) == "ptk" ? ReceiverKind::Ptk : ReceiverKind::Pts;
    } else if (argument == "--layer" && hasValue) {
      const std::string_view layer = argv[++i];
      config.Templates = layer != "off";
      if (layer == "lookup-first") config.Arbitrate = Arbitration::LookupFirst;
      if (layer == "overrule") config.Arbitrate = Arbitration::TemplatesOverrule;
    } else if (argument == "--tolerance" && i + 3 < argc) {
      config.Matching.Within.Relative = std::atof(argv[++i]);
      config.Matching.Within.AbsoluteUs = std::atoi(argv[++i]);
      config.Matching.Margin = std::atof(argv[++i]);
    } else if (argument == "--jitter" && hasValue) {
      config.JitterLevels = {std::atoi(argv[++i])};
    } else if (argument == "--match-time") {
      config.MatchTime = true;
    } else if (argument == "--details") {
      config.Details = true;
    } else if (argument == "--smoke") {
      config.Smoke = true;
      config.Presses = LearnPresses;
      config.JitterLevels = {0};
    } else {
      std::cerr << "usage: quillon_recognition [--presses N] [--only TEXT] [--receiver pts|ptk] "
                   "[--details] [--smoke] [--layer off|decide|lookup-first|overrule] "
                   "[--tolerance REL ABS MARGIN] [--jitter PERCENT] [--match-time]\n";
      std::exit(2);
    }
  }
  return config;
}

// A fresh folder for the learned remotes, removed at the end.
struct WorkFolder {
  WorkFolder()
      : Path(fs::temp_directory_path() / ("quillon-recognition-" + std::to_string(getpid()))) {
    fs::create_directories(Path);
  }
  ~WorkFolder() {
    std::error_code ignored;
    fs::remove_all(Path, ignored);
  }
  WorkFolder(const WorkFolder&) = delete;
  WorkFolder& operator=(const WorkFolder&) = delete;
  fs::path Path;
};

// The processor time of this thread: a busy machine's other work does not count.
double ThreadMicroseconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
}

// Matching one burst against the templates of a remote of 100 buttons of each synthetic
// protocol, built from five presses per button as learning builds them (10 % jitter): the
// mean and the longest processor time per burst over 20 fresh presses of every button.
int MatchTime() {
  constexpr std::size_t Buttons = 100;
  constexpr int Bursts = 20;
  std::mt19937 random(Seed);
  std::uniform_int_distribution<std::int64_t> hold(ShortestHoldMs * TicksPerMs,
                                                   LongestHoldMs * TicksPerMs);
  const auto microseconds = [](const PressDurations& ticks) {
    std::vector<std::int64_t> us;
    for (const std::int64_t t : ticks) us.push_back(t / 10);
    return us;
  };
  std::cout << "| remote (100 buttons) | template frames | mean per burst | longest | "
               "recognised |\n|---|---|---|---|---|\n";
  std::uint32_t pressCount = 0;
  for (bench::SyntheticRemote& remote : bench::SyntheticRemotes(Buttons)) {
    const auto press = [&](std::size_t button) {
      return microseconds(Received(HoldPress(remote.Button(button, pressCount++), hold(random)),
                                   SkewTicks, 10, random));
    };
    RemoteTemplates templates;
    std::size_t frames = 0;
    for (std::size_t b = 0; b < Buttons; ++b) {
      std::vector<LearnedBurst> presses;
      for (int p = 0; p < LearnPresses; ++p) presses.push_back({press(b), false});
      templates.Buttons.push_back(BuildButtonTemplate(static_cast<std::int32_t>(b + 1),
                                                      remote.Labels[b], presses, Tolerance{}));
      frames += templates.Buttons.back().Frames.size();
    }
    PrepareTemplates(templates, Tolerance{});
    double total = 0;
    double longest = 0;
    int recognised = 0;
    for (int round = 0; round < Bursts; ++round) {
      for (std::size_t b = 0; b < Buttons; ++b) {
        const std::vector<std::int64_t> burst = press(b);
        const double start = ThreadMicroseconds();
        const TemplateMatch match = MatchBurst(templates, burst, MatchSettings{});
        const double took = ThreadMicroseconds() - start;
        total += took;
        longest = std::max(longest, took);
        recognised +=
            match.Answer == TemplateAnswer::Key && match.Key == static_cast<std::int32_t>(b + 1);
      }
    }
    char line[160];
    std::snprintf(line, sizeof line, "| %s | %zu | %.1f us | %.1f us | %.1f %% |\n",
                  remote.Name.c_str(), frames, total / (Bursts * Buttons), longest,
                  100.0 * recognised / (Bursts * Buttons));
    std::cout << line;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const Config config = ReadArguments(argc, argv);
  if (config.MatchTime) return MatchTime();
  std::vector<Remote> remotes = RecordedRemotes();
  for (Remote& remote : SyntheticRemoteList()) remotes.push_back(std::move(remote));
  std::erase_if(remotes, [&](const Remote& remote) {
    if (config.Smoke)
      return remote.Name != "TVs-Vizio-Vizio_VX32L" && remote.Name != "synthetic NEC";
    return remote.Name.find(config.Only) == std::string::npos;
  });
  if (remotes.empty()) {
    std::cerr << "no remote's name contains \"" << config.Only << "\"\n";
    return 2;
  }

  const WorkFolder folder;
  std::vector<std::vector<Cell>> cells;
  for (const Remote& remote : remotes) {
    std::cerr << remote.Name << "\n";
    std::vector<Cell>& row = cells.emplace_back();
    for (const int jitter : config.JitterLevels) {
      row.push_back(Measure(remote, jitter, config, folder.Path));
    }
  }

  std::cout << "Presses per button: " << LearnPresses << " to learn, " << config.Presses
            << " to recognise; receiver "
            << (config.Receiver == ReceiverKind::Ptk ? "PTK (simulated lines)" : "PTS (edges)")
            << "; skew +" << SkewTicks / 10 << " us marks, -" << SkewTicks / 10
            << " us spaces; holds " << ShortestHoldMs << " to " << LongestHoldMs
            << " ms. Cells: correct / wrong / unrecognized presses.\n\n";
  std::cout << "| remote | buttons |";
  for (const int jitter : config.JitterLevels) std::cout << " jitter " << jitter << " % |";
  std::cout << "\n|---|---|";
  for (std::size_t j = 0; j < config.JitterLevels.size(); ++j) std::cout << "---|";
  std::cout << "\n";
  std::vector<Cell> recorded(config.JitterLevels.size());
  std::vector<Cell> synthetic(config.JitterLevels.size());
  std::vector<Cell> all(config.JitterLevels.size());
  std::vector<std::string> failures;
  for (std::size_t r = 0; r < remotes.size(); ++r) {
    std::cout << "| " << remotes[r].Name << " | " << remotes[r].Labels.size() << " |";
    for (std::size_t j = 0; j < cells[r].size(); ++j) {
      const Cell& cell = cells[r][j];
      std::cout << " " << CellText(cell, remotes[r].Labels.size()) << " |";
      (remotes[r].Recorded ? recorded : synthetic)[j].Add(cell);
      all[j].Add(cell);
      if (!cell.Failure.empty()) {
        failures.push_back(remotes[r].Name + " at " + std::to_string(config.JitterLevels[j]) +
                           " %: " + cell.Failure);
      }
    }
    std::cout << "\n";
  }
  std::cout << "\nTotals (correct / wrong / unrecognized):\n\n| remotes |";
  for (const int jitter : config.JitterLevels) std::cout << " jitter " << jitter << " % |";
  std::cout << "\n|---|";
  for (std::size_t j = 0; j < config.JitterLevels.size(); ++j) std::cout << "---|";
  std::cout << "\n";
  bool allCorrect = true;
  for (const auto& [name, totals] :
       {std::pair{"recorded", &recorded}, {"synthetic", &synthetic}, {"all", &all}}) {
    std::cout << "| " << name << " |";
    for (const Cell& cell : *totals) {
      std::cout << " " << TotalText(cell) << " |";
      allCorrect = allCorrect && cell.Correct == cell.Presses();
    }
    std::cout << "\n";
  }
  if (!failures.empty()) {
    std::cout << "\nLearning stopped:\n\n";
    for (const std::string& failure : failures) std::cout << "- " << failure << "\n";
  }
  if (config.Details) {
    std::cout << "\nWhat learning found (durations in us; repeat frame: its durations, - for "
                 "none):\n\n| remote | jitter | start pulse | gap | MaxValue | length | code "
                 "form | repeat frame | lock-up pairs |\n|---|---|---|---|---|---|---|---|---|\n";
    for (std::size_t r = 0; r < remotes.size(); ++r) {
      for (std::size_t j = 0; j < cells[r].size(); ++j) {
        if (cells[r][j].Decoding.empty()) continue;
        std::cout << "| " << remotes[r].Name << " | " << config.JitterLevels[j] << " % | "
                  << cells[r][j].Decoding << " |\n";
      }
    }
    std::cout << "\nWrong presses by cause:\n\n| remote | jitter | cause | presses | first "
                 "|\n|---|---|---|---|---|\n";
    for (std::size_t r = 0; r < remotes.size(); ++r) {
      for (std::size_t j = 0; j < cells[r].size(); ++j) {
        for (const auto& [cause, wrong] : cells[r][j].Causes) {
          std::cout << "| " << remotes[r].Name << " | " << config.JitterLevels[j] << " % | "
                    << cause << " | " << wrong.Count << " | " << wrong.Example << " |\n";
        }
      }
    }
  }
  return config.Smoke && !allCorrect ? 1 : 0;
}

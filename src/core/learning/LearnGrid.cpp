#include "core/learning/LearnGrid.h"

#include "core/learning/LearningTexts.h"

namespace quillon {

void ClearLearnGrids(LearnGrid& keys, LearnGrid& lockUps, LanguageFlag language) {
  LearnGrid::Row header{std::string(Text(LearningText::GridKeyNumber, language)),
                        std::string(Text(LearningText::GridName, language))};
  for (std::size_t k = 1; k <= 5; ++k) {
    header[k + 1] = std::string(Text(LearningText::GridData, language)) + std::to_string(k) + "]";
  }
  for (LearnGrid* grid : {&keys, &lockUps}) grid->Rows = {header, LearnGrid::Row{}};
}

}  // namespace quillon

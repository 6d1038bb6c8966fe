#include "core/learning/LearnGrid.h"

namespace quillon {

void ClearLearnGrids(LearnGrid& keys, LearnGrid& lockUps, LanguageFlag language) {
  const bool bulgarian = language == Bulgarian;
  LearnGrid::Row header{bulgarian ? "Бутон-№" : "Key №", bulgarian ? "Име" : "Name"};
  for (std::size_t k = 1; k <= 5; ++k) {
    header[k + 1] = (bulgarian ? "Данни[" : "Data[") + std::to_string(k) + "]";
  }
  for (LearnGrid* grid : {&keys, &lockUps}) grid->Rows = {header, LearnGrid::Row{}};
}

}  // namespace quillon

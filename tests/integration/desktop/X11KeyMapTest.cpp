// The virtual-key codes of Windows and the X key names they become.

#include <gtest/gtest.h>
// After gtest: X.h defines None as a macro, a name that gtest uses.
#include <X11/XF86keysym.h>
#include <X11/keysym.h>

#include <ostream>
#include <string>

#include "platform/linux/X11KeyMap.h"

namespace quillon::platform {
namespace {

struct Mapping {
  std::uint8_t VirtualKey;
  KeySym Symbol;
};

// Names a case by its virtual key, not by the bytes of the struct.
void PrintTo(const Mapping& mapping, std::ostream* out) {
  *out << "virtual key " << int{mapping.VirtualKey};
}

class X11KeyMapTest : public ::testing::TestWithParam<Mapping> {};

TEST_P(X11KeyMapTest, MapsTheVirtualKeyToItsKeysym) {
  EXPECT_EQ(KeysymOfVirtualKey(GetParam().VirtualKey), GetParam().Symbol)
      << "virtual key " << int{GetParam().VirtualKey};
}

INSTANTIATE_TEST_SUITE_P(
    Keys, X11KeyMapTest,
    ::testing::Values(
        // letters, lower-case; digits
        Mapping{'A', XK_a}, Mapping{'Z', XK_z}, Mapping{'0', XK_0}, Mapping{'9', XK_9},
        // punctuation of a US layout
        Mapping{186, XK_semicolon}, Mapping{187, XK_equal}, Mapping{188, XK_comma},
        Mapping{189, XK_minus}, Mapping{190, XK_period}, Mapping{191, XK_slash},
        Mapping{192, XK_grave}, Mapping{219, XK_bracketleft}, Mapping{220, XK_backslash},
        Mapping{221, XK_bracketright}, Mapping{222, XK_apostrophe},
        // editing and moving
        Mapping{8, XK_BackSpace}, Mapping{9, XK_Tab}, Mapping{13, XK_Return},
        Mapping{27, XK_Escape}, Mapping{32, XK_space}, Mapping{33, XK_Prior}, Mapping{34, XK_Next},
        Mapping{35, XK_End}, Mapping{36, XK_Home}, Mapping{37, XK_Left}, Mapping{38, XK_Up},
        Mapping{39, XK_Right}, Mapping{40, XK_Down}, Mapping{45, XK_Insert}, Mapping{46, XK_Delete},
        // function keys
        Mapping{112, XK_F1}, Mapping{123, XK_F12}, Mapping{124, XK_F13}, Mapping{135, XK_F24},
        // numeric pad
        Mapping{96, XK_KP_0}, Mapping{105, XK_KP_9}, Mapping{106, XK_KP_Multiply},
        Mapping{107, XK_KP_Add}, Mapping{108, XK_KP_Separator}, Mapping{109, XK_KP_Subtract},
        Mapping{110, XK_KP_Decimal}, Mapping{111, XK_KP_Divide},
        // modifiers, locks and system keys
        Mapping{16, XK_Shift_L}, Mapping{17, XK_Control_L}, Mapping{18, XK_Alt_L},
        Mapping{91, XK_Super_L}, Mapping{92, XK_Super_R}, Mapping{93, XK_Menu},
        Mapping{19, XK_Pause}, Mapping{20, XK_Caps_Lock}, Mapping{144, XK_Num_Lock},
        Mapping{145, XK_Scroll_Lock}, Mapping{42, XK_Print}, Mapping{44, XK_Print},
        Mapping{3, XK_Cancel}, Mapping{12, XK_Clear}, Mapping{41, XK_Select},
        Mapping{43, XK_Execute}, Mapping{47, XK_Help}, Mapping{95, XF86XK_Sleep},
        // media keys
        Mapping{173, XF86XK_AudioMute}, Mapping{174, XF86XK_AudioLowerVolume},
        Mapping{175, XF86XK_AudioRaiseVolume}, Mapping{179, XF86XK_AudioPlay},
        // codes that name no key
        Mapping{1, NoSymbol}, Mapping{2, NoSymbol}, Mapping{4, NoSymbol}, Mapping{0, NoSymbol},
        Mapping{255, NoSymbol}),
    [](const ::testing::TestParamInfo<Mapping>& test) {
      return "VirtualKey" + std::to_string(test.param.VirtualKey);
    });

}  // namespace
}  // namespace quillon::platform

// numbers.h — the fixed sprite, picture and sound numbers of the catalogue.
#pragma once

namespace num {

// Sprites.
constexpr int kShadow = 1;       // shadow.png, the dimming picture
constexpr int kVeil = 2;         // the shadow stretched over the screen
constexpr int kTitle = 3;        // title picture
constexpr int kStudioLogo = 4;   // studio logo, full screen
constexpr int kLogo = 5;         // game logo of the menu column
constexpr int kMenuBox = 6;      // backdrop box of the menu column
constexpr int kPanelBand = 7;    // in-game panel band
constexpr int kLevelLabel = 8;   // panel: level label
constexpr int kPickupCount = 9;  // panel: pickups remaining
constexpr int kCherryCount = 10; // panel: cherries collected
constexpr int kStar = 11;
constexpr int kCherryBar = 12;
constexpr int kPauseCard = 13;
constexpr int kSettingsCard = 14;
constexpr int kMainMenuCard = 15;
constexpr int kCompleteCard = 16;
constexpr int kQuitCard = 17;
constexpr int kCreditsCard = 18;
constexpr int kHelpCard = 19;
constexpr int kLevelSelectCard = 20;
constexpr int kCaughtCard = 21;
constexpr int kPlayerUp = 22;
constexpr int kPlayerDown = 23;
constexpr int kPlayerLeft = 24;
constexpr int kPlayerRight = 25;
constexpr int kItemDot = 26;
constexpr int kItemCherry = 27;
constexpr int kImpact = 28; // fx.png

// Monster kind k (1..6): base 29 + 5 (k - 1); left, right, up, down follow.
constexpr int MonsterBase(int kind) { return 29 + 5 * (kind - 1); }
constexpr int MonsterLeft(int kind) { return MonsterBase(kind) + 1; }
constexpr int MonsterRight(int kind) { return MonsterBase(kind) + 2; }
constexpr int MonsterUp(int kind) { return MonsterBase(kind) + 3; }
constexpr int MonsterDown(int kind) { return MonsterBase(kind) + 4; }

// Picture (off-screen image) 0: the back of the cherry counter.
constexpr int kCherryScoreImage = 0;

// Sounds.
constexpr int kMenuMusic = 0;
constexpr int kLevelMusic = 1;
constexpr int kFinaleMusic = 2;
constexpr int kClick = 3;
constexpr int kConfirm = 4;
constexpr int kCoin = 5;
constexpr int kBeep = 6;
constexpr int kLaugh = 7;
constexpr int kSting = 8;

} // namespace num

// The high-score entry after a game and the table window command.
#include "game/flow_texts.h"
#include "game/game_flow.h"
#include "game/hiscore_rules.h"

namespace kelvarok {

void GameFlow::EnterHighScores() {
  // One name text serves every player of this entry: a later player finds the
  // name the previous one confirmed.
  std::string name;
  for (std::int32_t p = 1; p <= state_.NumPlayers; ++p) {
    if (closing_) return;  // the program is ending: no more dialogs
    const int rank = RankFor(hiscores_, state_.Score[p]);
    if (rank == 0) continue;
    std::string typed = name;
    NoteWait(FlowWait::NamePrompt);
    if (!host_.InputQuery(kHighScoreCaption, NamePrompt(p), typed)) continue;
    name = typed;
    InsertHiScore(hiscores_, rank, state_.Score[p], state_.RoundNo[p], name);
    ShowHighScoreTable();
  }
}

void GameFlow::Highscores1Click() {
  NoteInput(FlowInput::Highscores1);
  ShowHighScoreTable();
}

void GameFlow::ShowHighScoreTable() {
  if (closing_) return;  // the window is closing while the game's loop runs out
  NoteWait(FlowWait::HiScores);
  host_.ShowHighScores(HiScoreCellsOf(hiscores_));
}

}  // namespace kelvarok

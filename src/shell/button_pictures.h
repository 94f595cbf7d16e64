#pragma once
// The pictures of the three buttons, drawn at run time as GIF images on a
// transparent light-grey background.

#include <string>

#include "shell/gif_image.h"

namespace shell {

IndexedImage DrawTick();      // green tick, 44 x 36
IndexedImage DrawCross();     // red cross, 37 x 39
IndexedImage DrawQuestion();  // black question mark, arrow to the lower left, 41 x 45

std::string TickPicture();
std::string CrossPicture();
std::string QuestionPicture();

}  // namespace shell

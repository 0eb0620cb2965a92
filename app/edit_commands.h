// The edit commands that work on the selection and the floating block, in
// the order of steps each one takes.
#pragma once

#include "render/picture_convert.h"

// Undo; a floating block is thrown away first, and a pasted or typed one
// (which changed nothing yet) is all that is undone.
void UndoEdit();
void CutBlock();
// A floating block stays floating and selected; otherwise the selection ends.
void CopyBlock();
void PasteBlock();
void CopyBlockAsImage();
void SelectAll();
void FillSelectionWithPen();
void FlipBlock(bool leftRight);
void ShiftBlockHalfCell(int direction);
void ToggleMarksTransparent();
// A converted picture becomes the screen, as one undo group.
void PlaceConvertedScreen(const ConvertedScreen& screen);
// A blank screen with nothing selected, floating, typed or kept as a frame,
// and the pen and tools as they start.
void ResetEditing();

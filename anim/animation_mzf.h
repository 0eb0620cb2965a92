// The frames as a program for the MZ-700 itself: an MZF image that shows the
// screen, then copies each defined frame in the player's order to where the
// first one lies, one frame per period, for ever. It needs no monitor ROM.
#pragma once
#include <string>

// The MZ-700's Z80 clock: the period is timed by counting its T-states,
// copying included. Should the display hold the CPU up while it reaches
// VRAM, the copy takes longer by that much.
constexpr int kZ80ClockHz = 3579545;
// The delay loop's counters reach about two minutes; a round limit below.
constexpr int kLongestAnimationDelay = 65535;  // milliseconds

enum class AnimationRefusal { None, NoFrames, DelayTooShort, DelayTooLong };

// The program for the frames defined now, showing each picture for
// `delayMs` milliseconds; `clearMarks` clears attribute bit 3. The player's
// picture of a frame is what goes to the machine: the frame's cells at the
// top-left of an area of the largest frame width and height, the rest black,
// cut where it would leave the screen.
AnimationRefusal AnimationMzfImage(const std::string& name, int delayMs, bool clearMarks, std::string& mzf);
// The shortest delay the frames defined now allow, in milliseconds: copying
// one frame takes nearly that long. 0 when no frame is defined.
int ShortestAnimationDelay();

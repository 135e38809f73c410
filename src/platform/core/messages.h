// The program's message queue, filled by the window back end from its events
// and by the program itself.
#pragma once

#include "platform/platform.h"

// Queues a message without waking anyone (the back end is awake already).
void platMessagePush(const PlatMessage& message);
// How many messages wait.
int platMessagesWaiting();

// Input the last frame has not seen arrived: a key, a button, pointer motion,
// the window's size. A wait for input ends at it.
void platNoteInput();
// A frame is about to read its input: what was noted so far is its own.
void platInputTaken();

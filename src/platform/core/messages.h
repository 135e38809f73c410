// The program's message queue, filled by the window back end from its events
// and by the program itself.
#pragma once

#include "platform/platform.h"

// Queues a message without waking anyone (the back end is awake already).
void platMessagePush(const PlatMessage& message);
// How many messages wait.
int platMessagesWaiting();

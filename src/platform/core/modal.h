// Time spent inside modal windows, counted by the back end that runs them.
#pragma once

// A modal window opens / closes; nested ones count once, with the outermost.
void platModalBegin();
void platModalEnd();

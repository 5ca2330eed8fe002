// The keyboard-layout registry: the machine's layout entries of the product
// and the product's place in the user's preload list.
#pragma once

// Looks for the layout entry whose "layout text" is setupState.layoutText and
// leaves its name in setupState.layoutId (empty when none matches). Returns 1
// when found, 0 otherwise.
int FindLayoutEntry(void);

// Looks for a layout entry whose "IME file" names the file imeFileName (in
// any letter case, alone or at the end of a path) and leaves its name in
// setupState.layoutId. Returns 1 when found; 0 leaves layoutId as it was.
int FindImeEntry(const char* imeFileName);

// Deletes every layout entry that names setupState.imeFileName or carries
// setupState.layoutText, and takes each one's identifier out of the numbered
// preload list. Returns 1 when each entry went and each preload rewrite that
// was needed succeeded.
int RemoveProductLayouts(void);

// Rewrites the numbered preload list for setupState.layoutId: install nonzero
// moves it to entry 2, zero takes it out and closes the gap. Returns 0 when a
// rewrite was needed but failed (and what it wrote was put back), 1 otherwise,
// also for a list in another form, which is left alone.
int ReorderPreload(int install);

// Writes one log line: label, then the numbered preload list as NAME=VALUE
// pairs and, in braces, the plain values of the other form.
void LogPreloadList(const char* label);

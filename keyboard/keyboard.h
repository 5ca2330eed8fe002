// The keyboard-layout registry: the machine's layout entry that carries the
// product's layout text, and the product's place in the user's preload list.
#pragma once

// Looks for the layout entry whose "layout text" is setupState.layoutText and
// leaves its name in setupState.layoutId (empty when none matches). checkOnly
// zero also deletes that entry. Returns 1 when found, 0 otherwise.
int FindLayoutEntry(int checkOnly);

// Rewrites the numbered preload list for setupState.layoutId: install nonzero
// moves it to entry 2, zero takes it out and closes the gap.
void ReorderPreload(int install);

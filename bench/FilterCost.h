#pragma once

// The costliest filter entries within the bound on what a pattern may cost, and the entries that
// pass it by far, each measured in a process of its own so that its peak memory is its own.
int FilterCostCount();

// Compiles entry index as an item's filter does and matches it against the costliest names, 510
// bytes long. Prints one "filter" line: whether it compiled, the compile time and the memory it
// held then; the worst time for one name as the item matches it, and as a whole-name match on a
// pattern compiled with and without match positions; the worst time for one of 300 varied names
// that one item meets in a row, as in a scan, and the memory held after them; the peak memory.
void BenchFilterCost(int index);

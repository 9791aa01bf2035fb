#pragma once

#include "model/subdivision.h"

#include <string>
#include <string_view>

// The viewer's state as the page's address carries it, in the state's words that
// hexil-export's options also read (model/state_words.h), each as word=value and joined by
// '&': angles=8&labels=0&listing=0&select=f0&walk=eno.

// The longest fragment read: a longer one is ignored whole.
constexpr std::size_t maxFragmentLength = 4096;

// Sets N, the two switches and the selection from a fragment (without its '#'), building
// the structure: the parts that make sense are applied, those that do not are skipped,
// and the steps of a walk up to the first that does not apply are taken. Returns one line
// naming what was ignored and why, empty when nothing was.
std::string applyFragment(std::string_view fragment, int& angles, Subdivision& s);

// The fragment that gives back the state: angles, labels and listing when off, select and
// walk when something is picked; empty for the start state (N = startAngles, both switches
// on, nothing picked), which needs none.
std::string stateFragment(int angles, const Subdivision& s);

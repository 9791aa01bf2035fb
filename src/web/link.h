#pragma once

#include "model/subdivision.h"

#include <string>
#include <string_view>

// The viewer's state as the page's address carries it, in hexil-export's words:
//   angles=8&labels=0&listing=0&select=f0&walk=eno
// angles is N (0 to maxAngles); labels and listing are 0 or 1 and 1 unless given; select
// names the record the walk started from, as hexil-export's --select does; walk its steps,
// the letters e n p o v f as --walk takes them. pick=X,Y, hexil-export's --pick, is read
// too. Words are joined by '&'; a later word overrides an earlier one.

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

#pragma once

#include "model/subdivision.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The viewer's state as the page's address carries it, in the state's words that
// hexil-export's options also read (model/state_words.h), each as word=value and joined by
// '&': angles=8&labels=0&listing=0&select=f0&walk=eno, or with a mesh file beside the page
// in place of the fan mesh=examples/square-hole.obj&select=f9&walk=en. The mesh's name is
// written with %XX for every byte but letters, digits, - . _ ~ and /, and read back so.

// The longest fragment read: a longer one is ignored whole.
constexpr std::size_t maxFragmentLength = 4096;

// The mesh file a fragment names, for the page to fetch before the viewer starts: the
// value of its mesh word (the last one), its escapes undone, when the name is beside the
// page (isBesidePage), else empty. A fragment longer than maxFragmentLength names none.
std::string linkedMesh(std::string_view fragment);

// Sets N, the two switches and the selection from a fragment (without its '#'), building
// the structure: the parts that make sense are applied, those that do not are skipped,
// and the steps of a walk up to the first that does not apply are taken. Returns one line
// naming what was ignored and why, empty when nothing was.
// A mesh word opens meshBytes, the bytes the page fetched for linkedMesh (nothing when it
// found no such file), in place of the fan; what openMesh says of the file, one line each,
// goes to findings when given. A mesh that does not open leaves the fan.
std::string applyFragment(std::string_view fragment, int& angles, Subdivision& s,
                          const std::optional<std::string>& meshBytes = std::nullopt,
                          std::vector<std::string>* findings = nullptr);

// The fragment that gives back the state: angles (mesh=meshName in its place while a mesh
// is open), labels and listing when off, select and walk when something is picked; empty
// for the fan's start state (N = startAngles, both switches on, nothing picked), which
// needs none, and for a mesh without a name beside the page (one opened from the user's
// device), which no link can show.
std::string stateFragment(int angles, const Subdivision& s, std::string_view meshName = {});

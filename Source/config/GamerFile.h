// SPDX-License-Identifier: GPL-3.0-or-later
// What a profile change does to the settings file, each step as one replacement of the file so
// that a crash never leaves a profile half-renamed (its options erased but not yet rewritten).
#pragma once

#include <string>
#include <vector>

class TIniFile;
class TMessageService;

// Every profile name of "GAMERS" in file order, names that differ only in letter case each kept
// (a key listing would hide all but the first of them).
std::vector<std::string> ReadGamerNames(const TIniFile& ini);

// Groups of profile names that differ only in letter case ("Игрок" and "ИГРОК"), each group in
// file order. The file's sections cannot tell such profiles apart when read.
std::vector<std::vector<std::string>> GamerCaseTwins(const TIniFile& ini);

// Whether `name` can be played: it must survive as a key and inside a section name. A name
// that cannot is never written under (the store refuses such writes); it can only be renamed.
bool GamerNameHoldable(const std::string& name);

// With a case-twin in the file, a delete or rename below touches only what is spelled exactly
// as `name` / `oldName` is (the profile line and its sections): the twin's stay whole.

// Rename: in "GAMERS" the old key is deleted and new=new written; the pairs of
// "OPTIONS_" + old move, in their order, to "OPTIONS_" + new (at the end of the file), and
// likewise "STATS_" + old to "STATS_" + new (replacing any statistics left under the new name);
// every hall-of-fame table gets the new name (RenameInHallFame). All of it is one replacement of
// the file, then flushed: a crash leaves the profile renamed everywhere or nowhere. Tables that
// fail their check are reset with their message first. False when the store refused (it has
// reported it); the file is then unchanged.
bool RenameGamerInFile(TIniFile& ini, TMessageService* messages, const std::string& oldName,
                       const std::string& newName);

// Delete: "OPTIONS_" + name and "STATS_" + name erased and the name's key removed from
// "GAMERS", in one replacement of the file. The hall of fame keeps the name's records. False
// when the store refused (it has reported it); the file is then unchanged.
bool DeleteGamerInFile(TIniFile& ini, const std::string& name);

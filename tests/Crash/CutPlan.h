#pragma once

#include <functional>
#include <string>

// Where a run of a commit is cut: at the k-th change it makes to the files
// (a create, write, truncate, sync, rename, delete or new folder), counted
// from 1.
//   Fail:  that one change fails (as a full disk or a dropped share would),
//          and the code goes on handling the error;
//   Crash: that change and every later one fail silently, so the files stay
//          exactly as a killed process or a power cut would leave them.
struct TCutPlan {
  enum class TKind { Fail, Crash };
  int CutAt = 0;
  TKind Kind = TKind::Fail;
  int Seen = 0;  // changes met so far
  // The file system cannot trade two names in one step (a network share):
  // every exchange fails with EINVAL and counts as no change.
  bool NoExchange = false;

  // True when the change about to be made must not happen.
  bool Refuse();
  // Refuse(), and a refused change reads as an I/O error (errno EIO), as a
  // seam's call reports it.
  bool RefuseAsIoError();
  // Whether the run reached its cut point.
  bool Reached() const { return Seen >= CutAt; }
};

const char* KindName(TCutPlan::TKind kind);

// Runs a commit once for every cut point of each kind: `prepare` lays out the
// old state, `commit` runs under the cut (its exceptions are expected and
// swallowed), `check` judges the files left behind with the system's own
// calls. Stops when a run finishes before its cut point. Returns the number
// of cut points tried. `runUnderCut` installs the seams for one run.
// A commit of thousands of changes (a whole word-index build) sets
// `CutBudget`: it is then cut at about that many evenly spaced points per
// kind, its last change always among them, unless PANDECTA_CRASH_EVERY_CUT is
// set (the long run by hand).
struct TCutDriver {
  std::function<void()> Prepare;
  std::function<void()> Commit;
  std::function<void(const std::string& where)> Check;
  // Installs whatever seams the commit goes through around `run`.
  std::function<void(TCutPlan&, const std::function<void()>& run)> RunUnderCut;
  int MaxCuts = 10000;      // cut points per kind at most
  int CutBudget = 0;        // 0: every cut point
  bool NoExchange = false;  // passed on to every plan

  int RunEveryCut();

 private:
  void RunCut(TCutPlan& plan);
  int StrideBetweenCuts();
};

// The Lx seam: every change the program makes through FileOperations().
void RunUnderLxCut(TCutPlan& plan, const std::function<void()>& run);
// Both seams at once, counting on one plan: the program's changes and those
// of the word-index engine (its group files, hint.il, folders).
void RunUnderLxAndEngineCut(TCutPlan& plan, const std::function<void()>& run);

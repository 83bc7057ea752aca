#ifndef LUMA_CLI_DOLL_COLLECTION_H_
#define LUMA_CLI_DOLL_COLLECTION_H_

#include <functional>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "core/doll/kiss_cnf_doc.h"

namespace luma::cli {

// One doll of a collection: a file, and for an archive the CNF member to
// load (empty: the only or the first one).
struct DollJob {
  std::string path;
  std::string cnf;
  // The member name as text, as the archive's list of CNFs shows it: what
  // the loading is told to choose, and what records and lines show.
  std::string shown_cnf;
  bool first_of_archive = true;  // false for the further CNFs of an archive
};

// DollResult::cnf for the doll `job` loaded as `doc`.
std::string LoadedCnf(const DollJob& job, const CKissCnfDoc& doc);

// The dolls named by `operands`: files as given, and every .cnf, .lzh,
// .lha and .zip file under a folder (recursively, in name order). With `all_cnfs`
// each CNF of an archive is a doll of its own.
std::vector<DollJob> FindDolls(const std::vector<std::string>& operands, bool all_cnfs);

// The options check and thumbnail share for collections: -j, --json,
// --all-cnfs, --timeout.
std::vector<OptionSpec> CollectionOptionSpecs();

// Whether the command works through a collection (several files, a folder,
// or a collection option) rather than one doll.
bool IsCollection(const ParsedArgs& args);

// What the work on one doll produced, in its own process.
struct DollResult {
  bool loaded = false;
  std::string cnf;           // the CNF loaded as text (its member name in an archive)
  std::string summary;       // the rest of the doll's line after "PATH: "
  std::string json_members;  // further members of its JSON record, without braces
};

// Works through the dolls of a collection, each in a process of its own
// with a time limit, on as many processors as -j says; prints one line per
// doll as it ends, a progress line on a terminal, and a closing count; writes
// the records to --json. Returns the exit status: 0 when every doll loaded.
int RunCollection(const ParsedArgs& args, const std::function<DollResult(const DollJob&)>& work);

}  // namespace luma::cli

#endif  // LUMA_CLI_DOLL_COLLECTION_H_

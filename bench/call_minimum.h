// The fewest registry calls the stored formats allow, per identity account,
// next to which the benchmarks print the calls the page really made.
#pragma once

namespace quillon::bench {

// Load: enumerate the account's name, open its key, query each value that
// decides whether it is an identity ("Service Name", "clsid", "POP3 Server",
// "SMTP Server") or fills its line ("Account Name", "Display Name", "Email",
// the two signature names), close it. The class lookup of the one identity
// clsid is shared by all accounts.
inline constexpr double kLoadCallsPerIdentity = 1 + 1 + 9 + 1;

// Apply, replacing `identities` old accounts by as many new ones that set
// `valueSets` values in all: find each old one again (enumerate, open, the four
// deciding queries, close), delete its key through the store key, create-or-open
// each new one, set its values, close it. "NextAccountID" and the order list
// need one read and one write each per Apply.
inline constexpr double kFindCallsPerAccount = 1 + 1 + 4 + 1;
inline double ApplyCallsPerIdentity(double identities, double valueSets) {
  return (identities * (kFindCallsPerAccount + 1 + 2) + valueSets + 4) / identities;
}

}  // namespace quillon::bench

// The data server's master copy of the accounts: server profiles (each with the port it listens on),
// user profiles, users and assignments. It checks every change (unique codes and logins, existing
// targets, administration profiles held only by administrators), writes the records the clients
// receive at login, and reads and writes its own file form.
//
// File form (little-endian): "NVAB", format 1, then the payload's length, the payload and its
// CRC-32, so that a truncated or damaged file is refused whole. The payload holds the next
// identifier, then the four tables, each as a count followed by its records. Passwords are kept in a
// reversible coding (the handshake needs them in clear), never as typed.
// Main thread only.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct ServerProfile {
  static constexpr size_t kSize = 640;
  std::array<uint8_t, kSize> Record{};  // the record as clients receive it
  uint16_t Port = 0;
  uint32_t Id() const;
  std::string Name() const;
  // A blank record (bytes 374, 375 and 632 set) with that identifier and name.
  static ServerProfile Make(uint32_t Id, std::string_view Name, uint16_t Port);
};

struct UserProfile {
  uint32_t Id = 0;
  std::string Name;                 // at most 32 characters
  uint8_t Kind = 0;                 // 0 administration, 1 modification, 2 consultation
  std::array<uint8_t, 32> Rights{};  // bit n: right n
};

struct Account {
  uint32_t Id = 0;
  std::string Name;      // at most 32 characters
  std::string Code;      // 1 to 3 characters, unique whatever the case; "SPR" is the super user
  std::string Login;     // at most 30 characters; see EffectiveLogin
  std::string Password;  // clear, in memory only
  uint8_t Flag = 0;
  std::string Text;      // at most 20 characters
};

struct Assignment {
  uint32_t Id = 0;
  uint32_t ServerProfile = 0;
  uint32_t UserProfile = 0;
  uint32_t User = 0;
};

class AccountBase {
 public:
  static constexpr std::string_view kSuperUser = "SPR";

  const std::vector<ServerProfile>& ServerProfiles() const { return serverProfiles_; }
  const std::vector<UserProfile>& UserProfiles() const { return userProfiles_; }
  const std::vector<Account>& Users() const { return users_; }
  const std::vector<Assignment>& Assignments() const { return assignments_; }

  const ServerProfile* FindServerProfile(uint32_t Id) const;
  const UserProfile* FindUserProfile(uint32_t Id) const;
  const UserProfile* FindUserProfileByName(std::string_view Name) const;
  const Account* FindUser(uint32_t Id) const;
  const Account* FindUserByCode(std::string_view Code) const;
  const Assignment* FindAssignment(uint32_t ServerProfile, uint32_t User) const;
  bool IsAdministrator(const Account& User) const;
  // The kind of profile the user holds in that server profile: the super user 0; none: nullopt.
  std::optional<uint8_t> KindIn(const Account& User, uint32_t ServerProfile) const;

  // Changes: an empty text when done, otherwise why it was refused (nothing changed then). A new
  // record's identifier is given out here (the one passed is ignored) and stored in Id.
  std::string AddServerProfile(std::string_view Name, uint16_t Port, uint32_t& Id);
  std::string AddUserProfile(UserProfile Profile, uint32_t& Id);
  std::string AddUser(Account User, uint32_t& Id);
  std::string ChangeUser(const Account& User);
  std::string RemoveUser(std::string_view Code);
  std::string Assign(std::string_view Code, uint32_t ServerProfile, uint32_t UserProfile, uint32_t& Id);
  std::string Unassign(std::string_view Code, uint32_t ServerProfile);

  // The file form, and back: false (and the base unchanged) for bytes that are not a whole, valid
  // file.
  std::string Serialize() const;
  [[nodiscard]] bool Parse(std::string_view Data, std::string& Error);

  // What clients receive: a user in its coded form (the password's coding only when RealPassword;
  // otherwise the coding of a random text) with its administrator flag, a user profile in its coded form, the 20-byte assignment.
  static std::string CodedUser(const Account& User, bool RealPassword, bool Administrator);
  // The login a user goes by: its own, or its code when it has none. Clients keep their copy of the
  // users ordered by login, one user per login whatever the case, so no two users share one.
  static const std::string& EffectiveLogin(const Account& User);
  static std::string CodedUserProfile(const UserProfile& Profile);
  static std::string AssignmentRecord(const Assignment& A);

 private:
  std::string CheckUser(const Account& User, uint32_t Self) const;
  std::vector<ServerProfile> serverProfiles_;
  std::vector<UserProfile> userProfiles_;
  std::vector<Account> users_;
  std::vector<Assignment> assignments_;
  uint32_t nextId_ = 1;
};

namespace AccountCoding {
// The reversible coding of a password in the store, and back (false for bytes that are no coding).
std::string Encode(std::string_view Clear);
[[nodiscard]] bool Decode(std::string_view Coded, std::string& Clear);
}  // namespace AccountCoding

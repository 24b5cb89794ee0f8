// The data server's folder: the account file, the base body of each server profile and each user's
// settings stream per server profile. Every file is readable by the server's own account only
// (mode 0600) and replaced atomically: a new file is written beside the old one, flushed and renamed
// over it, so that a kill at any moment leaves either the old file or the new one, whole.
//
//   accounts.dat               the account base (AccountBase's file form)
//   base-<profile>.dat         the base body served as stream 0 (without the 256-byte name in front)
//   settings-<profile>-<user>.dat   the user's settings stream (stream 1); none means the empty one
// Main thread only.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "server/AccountBase.h"

namespace AtomicFile {
// Replaces File by Bytes (mode 0600). False, with the reason, when it could not; the old file stays.
[[nodiscard]] bool Write(const std::string& File, std::string_view Bytes, std::string& Error);
// The file's bytes; nullopt when it does not exist; false with the reason when it cannot be read.
[[nodiscard]] bool Read(const std::string& File, std::optional<std::string>& Bytes, std::string& Error);
}  // namespace AtomicFile

class ServerStore {
 public:
  // The stream-1 content of a user who has no settings yet: one empty sized block.
  static constexpr std::string_view kEmptySettings{"\0\0\0\0", 4};

  explicit ServerStore(std::string Folder) : folder_(std::move(Folder)) {}

  // Makes a new store in an empty or missing folder: the super user "SPR" with that password, the
  // three default user profiles and one server profile listening on Port, with an empty base body.
  [[nodiscard]] static bool Create(const std::string& Folder, std::string_view SuperPassword,
                                   std::string_view ProfileName, uint16_t Port, std::string_view EmptyBase,
                                   std::string& Error);

  // Reads the account file; false with the reason when the folder holds none or it is damaged.
  [[nodiscard]] bool Open(std::string& Error);
  AccountBase& Accounts() { return accounts_; }
  [[nodiscard]] bool SaveAccounts(std::string& Error);

  // The base body of a server profile; nullopt (and Error empty) when it has none.
  [[nodiscard]] bool ReadBase(uint32_t Profile, std::optional<std::string>& Body, std::string& Error) const;
  [[nodiscard]] bool WriteBase(uint32_t Profile, std::string_view Body, std::string& Error) const;
  // A user's settings stream in a server profile, kEmptySettings when there is none.
  [[nodiscard]] bool ReadSettings(uint32_t Profile, uint32_t User, std::string& Stream, std::string& Error) const;
  [[nodiscard]] bool WriteSettings(uint32_t Profile, uint32_t User, std::string_view Stream, std::string& Error) const;

  const std::string& Folder() const { return folder_; }
  std::string AccountsFile() const { return folder_ + "/accounts.dat"; }
  std::string BaseFile(uint32_t Profile) const;

 private:
  std::string folder_;
  AccountBase accounts_;
};

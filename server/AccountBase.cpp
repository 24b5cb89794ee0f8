#include "server/AccountBase.h"

#include <openssl/rand.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "core/values/Collation.h"
#include "net/utilisateurs/Login.h"
#include "server/Bytes.h"

namespace {

// Two texts equal as the clients' tables compare them: in the system's collation, case ignored.
bool SameText(std::string_view A, std::string_view B) { return Collation::Compare(A, B, true) == 0; }

constexpr std::string_view kMagic = "NVAB";
constexpr uint32_t kFormat = 1;
// A password coding keeps at most this many characters.
constexpr size_t kPasswordMax = 12;
// No table of the file may claim more records than this.
constexpr uint32_t kMaxRecords = 1u << 20;

uint32_t Read32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }

// The mask of the stored password coding: what it hides is only a casual glance at the file, which
// is readable by the server's own account alone.
constexpr uint8_t kMask[16] = {0x5A, 0xC3, 0x17, 0x9E, 0x61, 0x2B, 0xF4, 0x08,
                               0xB7, 0x4D, 0x36, 0xE1, 0x92, 0x7C, 0x0F, 0xA5};

std::string RandomText(size_t n) {
  std::string s(n, 'a');
  unsigned char r[32];
  if (RAND_bytes(r, static_cast<int>(std::min(n, sizeof r))) != 1) throw std::runtime_error("the random source failed");
  for (size_t i = 0; i < n && i < sizeof r; ++i) s[i] = static_cast<char>('a' + r[i] % 26);
  return s;
}

template <class T>
const T* FindById(const std::vector<T>& v, uint32_t Id) {
  for (const T& e : v)
    if (e.Id == Id) return &e;
  return nullptr;
}

}  // namespace

// --- Server profiles

uint32_t ServerProfile::Id() const { return Read32(Record.data()); }

std::string ServerProfile::Name() const {
  return std::string(reinterpret_cast<const char*>(Record.data() + 5), std::min<size_t>(Record[4], 32));
}

ServerProfile ServerProfile::Make(uint32_t Id, std::string_view Name, uint16_t Port) {
  ServerProfile p;
  p.Record[374] = p.Record[375] = p.Record[632] = 1;
  for (int i = 0; i < 4; ++i) p.Record[static_cast<size_t>(i)] = static_cast<uint8_t>(Id >> (8 * i));
  const size_t n = std::min<size_t>(Name.size(), 32);
  p.Record[4] = static_cast<uint8_t>(n);
  std::memcpy(p.Record.data() + 5, Name.data(), n);
  // Clients keep the server profiles in an order unique on the second name too: it is the name,
  // cut to its 30 characters.
  const size_t second = std::min<size_t>(n, 30);
  p.Record[37] = static_cast<uint8_t>(second);
  std::memcpy(p.Record.data() + 38, Name.data(), second);
  p.Port = Port;
  return p;
}

// --- Searches

const ServerProfile* AccountBase::FindServerProfile(uint32_t Id) const {
  for (const auto& p : serverProfiles_)
    if (p.Id() == Id) return &p;
  return nullptr;
}
const UserProfile* AccountBase::FindUserProfile(uint32_t Id) const { return FindById(userProfiles_, Id); }
const UserProfile* AccountBase::FindUserProfileByName(std::string_view Name) const {
  for (const auto& p : userProfiles_)
    if (SameText(p.Name, Name)) return &p;
  return nullptr;
}
const Account* AccountBase::FindUser(uint32_t Id) const { return FindById(users_, Id); }
const Account* AccountBase::FindUserByCode(std::string_view Code) const {
  for (const auto& u : users_)
    if (u.Code == Code) return &u;
  return nullptr;
}
const Assignment* AccountBase::FindAssignment(uint32_t ServerProfile, uint32_t User) const {
  for (const auto& a : assignments_)
    if (a.ServerProfile == ServerProfile && a.User == User) return &a;
  return nullptr;
}

bool AccountBase::IsAdministrator(const Account& User) const {
  if (User.Code == kSuperUser) return true;
  for (const auto& a : assignments_) {
    if (a.User != User.Id) continue;
    const UserProfile* p = FindUserProfile(a.UserProfile);
    if (p != nullptr && p->Kind == 0) return true;
  }
  return false;
}

std::optional<uint8_t> AccountBase::KindIn(const Account& User, uint32_t ServerProfile) const {
  if (User.Code == kSuperUser) return uint8_t{0};
  const Assignment* a = FindAssignment(ServerProfile, User.Id);
  const UserProfile* p = a == nullptr ? nullptr : FindUserProfile(a->UserProfile);
  if (p == nullptr) return std::nullopt;
  return p->Kind;
}

// --- Changes

std::string AccountBase::AddServerProfile(std::string_view Name, uint16_t Port, uint32_t& Id) {
  if (Name.empty() || Name.size() > 32) return "a server profile's name has 1 to 32 characters";
  for (const auto& p : serverProfiles_) {
    if (SameText(p.Name(), Name) || SameText(p.Name().substr(0, 30), Name.substr(0, 30)))
      return "a server profile of that name exists";
    if (Port != 0 && p.Port == Port) return "another server profile listens on that port";
  }
  Id = nextId_++;
  serverProfiles_.push_back(ServerProfile::Make(Id, Name, Port));
  return {};
}

std::string AccountBase::AddUserProfile(UserProfile Profile, uint32_t& Id) {
  if (Profile.Name.empty() || Profile.Name.size() > 32) return "a user profile's name has 1 to 32 characters";
  if (Profile.Kind > 2) return "a user profile's kind is 0, 1 or 2";
  if (FindUserProfileByName(Profile.Name) != nullptr) return "a user profile of that name exists";
  Profile.Id = Id = nextId_++;
  userProfiles_.push_back(std::move(Profile));
  return {};
}

std::string AccountBase::CheckUser(const Account& User, uint32_t Self) const {
  if (User.Code.empty() || User.Code.size() > 3) return "a user code has 1 to 3 characters";
  if (User.Name.size() > 32) return "a user name has at most 32 characters";
  if (User.Login.size() > 30) return "a login has at most 30 characters";
  if (User.Password.size() > kPasswordMax) return "a password has at most 12 characters";
  if (User.Text.size() > 20) return "a user's text has at most 20 characters";
  for (const auto& u : users_) {
    if (u.Id == Self) continue;
    if (SameText(u.Code, User.Code)) return "a user with that code exists";
    if (SameText(EffectiveLogin(u), EffectiveLogin(User)))
      return "a user goes by that login (a user without a login goes by its code)";
  }
  return {};
}

const std::string& AccountBase::EffectiveLogin(const Account& User) { return User.Login.empty() ? User.Code : User.Login; }

std::string AccountBase::AddUser(Account User, uint32_t& Id) {
  std::string error = CheckUser(User, 0);
  if (!error.empty()) return error;
  User.Id = Id = nextId_++;
  users_.push_back(std::move(User));
  return {};
}

std::string AccountBase::ChangeUser(const Account& User) {
  auto it = std::find_if(users_.begin(), users_.end(), [&](const Account& u) { return u.Id == User.Id; });
  if (it == users_.end()) return "no such user";
  if (it->Code == kSuperUser && User.Code != kSuperUser) return "the super user keeps its code";
  std::string error = CheckUser(User, User.Id);
  if (!error.empty()) return error;
  *it = User;
  return {};
}

std::string AccountBase::RemoveUser(std::string_view Code) {
  if (Code == kSuperUser) return "the super user cannot be removed";
  const Account* u = FindUserByCode(Code);
  if (u == nullptr) return "no such user";
  const uint32_t id = u->Id;
  std::erase_if(assignments_, [&](const Assignment& a) { return a.User == id; });
  std::erase_if(users_, [&](const Account& x) { return x.Id == id; });
  return {};
}

std::string AccountBase::Assign(std::string_view Code, uint32_t ServerProfileId, uint32_t UserProfileId, uint32_t& Id) {
  const Account* u = FindUserByCode(Code);
  if (u == nullptr) return "no such user";
  if (FindServerProfile(ServerProfileId) == nullptr) return "no such server profile";
  const UserProfile* p = FindUserProfile(UserProfileId);
  if (p == nullptr) return "no such user profile";
  // An administration profile makes its holder an administrator: the user record sent to clients
  // carries the flag, so that they accept the assignment that follows it.
  for (auto& a : assignments_) {
    if (a.ServerProfile == ServerProfileId && a.User == u->Id) {
      a.UserProfile = UserProfileId;
      Id = a.Id;
      return {};
    }
  }
  Id = nextId_++;
  assignments_.push_back({Id, ServerProfileId, UserProfileId, u->Id});
  return {};
}

std::string AccountBase::Unassign(std::string_view Code, uint32_t ServerProfileId) {
  const Account* u = FindUserByCode(Code);
  if (u == nullptr) return "no such user";
  const uint32_t id = u->Id;
  if (std::erase_if(assignments_, [&](const Assignment& a) { return a.User == id && a.ServerProfile == ServerProfileId; }) == 0)
    return "the user has no assignment in that server profile";
  return {};
}

// --- File form

std::string AccountBase::Serialize() const {
  Bytes::Writer w;
  w.U32(nextId_);
  w.U32(static_cast<uint32_t>(serverProfiles_.size()));
  for (const auto& p : serverProfiles_) {
    w.Raw(std::string_view(reinterpret_cast<const char*>(p.Record.data()), p.Record.size()));
    w.U32(p.Port);
  }
  w.U32(static_cast<uint32_t>(userProfiles_.size()));
  for (const auto& p : userProfiles_) {
    w.U32(p.Id);
    w.Text(p.Name);
    w.U8(p.Kind);
    w.Raw(std::string_view(reinterpret_cast<const char*>(p.Rights.data()), p.Rights.size()));
  }
  w.U32(static_cast<uint32_t>(users_.size()));
  for (const auto& u : users_) {
    w.U32(u.Id);
    w.Text(u.Name);
    w.Text(u.Code);
    w.Text(u.Login);
    w.Text(AccountCoding::Encode(u.Password));
    w.U8(u.Flag);
    w.Text(u.Text);
  }
  w.U32(static_cast<uint32_t>(assignments_.size()));
  for (const auto& a : assignments_) {
    w.U32(a.Id);
    w.U32(a.ServerProfile);
    w.U32(a.UserProfile);
    w.U32(a.User);
  }
  const std::string& payload = w.Result();
  Bytes::Writer file;
  file.Raw(kMagic);
  file.U32(kFormat);
  file.U32(static_cast<uint32_t>(payload.size()));
  file.Raw(payload);
  file.U32(static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(payload.data()), static_cast<uInt>(payload.size()))));
  return std::move(file.Result());
}

bool AccountBase::Parse(std::string_view Data, std::string& Error) {
  Error.clear();
  Bytes::Reader file(Data);
  if (file.Raw(4) != kMagic || file.U32() != kFormat) {
    Error = "not an account file of this server";
    return false;
  }
  const uint32_t size = file.U32();
  const std::string_view payload = file.Raw(size);
  const uint32_t crc = file.U32();
  if (!file.Ok() || file.Left() != 0 ||
      crc != crc32(0, reinterpret_cast<const Bytef*>(payload.data()), static_cast<uInt>(payload.size()))) {
    Error = "the account file is truncated or damaged";
    return false;
  }
  AccountBase b;
  Bytes::Reader r(payload);
  b.nextId_ = r.U32();
  uint32_t n = r.U32();
  for (uint32_t i = 0; r.Ok() && i < n && i < kMaxRecords; ++i) {
    ServerProfile p;
    const std::string_view rec = r.Raw(ServerProfile::kSize);
    if (!r.Ok()) break;
    std::memcpy(p.Record.data(), rec.data(), ServerProfile::kSize);
    const uint32_t port = r.U32();
    p.Port = static_cast<uint16_t>(port);
    if (port > 0xFFFF) Error = "a server profile's port is out of range";
    b.serverProfiles_.push_back(p);
  }
  n = r.U32();
  for (uint32_t i = 0; r.Ok() && i < n && i < kMaxRecords; ++i) {
    UserProfile p;
    p.Id = r.U32();
    p.Name = r.Text(32);
    p.Kind = r.U8();
    const std::string_view rights = r.Raw(p.Rights.size());
    if (!r.Ok()) break;
    std::memcpy(p.Rights.data(), rights.data(), p.Rights.size());
    b.userProfiles_.push_back(std::move(p));
  }
  n = r.U32();
  for (uint32_t i = 0; r.Ok() && i < n && i < kMaxRecords; ++i) {
    Account u;
    u.Id = r.U32();
    u.Name = r.Text(32);
    u.Code = r.Text(3);
    u.Login = r.Text(30);
    const std::string coded = r.Text(64);
    u.Flag = r.U8();
    u.Text = r.Text(20);
    if (r.Ok() && !AccountCoding::Decode(coded, u.Password)) Error = "a stored password is not a coding";
    b.users_.push_back(std::move(u));
  }
  n = r.U32();
  for (uint32_t i = 0; r.Ok() && i < n && i < kMaxRecords; ++i) {
    Assignment a;
    a.Id = r.U32();
    a.ServerProfile = r.U32();
    a.UserProfile = r.U32();
    a.User = r.U32();
    b.assignments_.push_back(a);
  }
  if (!r.Ok() || r.Left() != 0 || !Error.empty() || n >= kMaxRecords) {
    if (Error.empty()) Error = "the account file's records do not add up";
    return false;
  }
  *this = std::move(b);
  return true;
}

// --- What clients receive

std::string AccountBase::CodedUser(const Account& User, bool RealPassword, bool Administrator) {
  // Other users' records carry the coding of a random text, never the empty-password sentinel, so
  // that no client learns anybody else's password.
  std::string password = RealPassword ? User.Password : RandomText(10);
  if (password.empty()) password = std::string(Login::SansMotDePasse());
  Bytes::Writer w;
  w.U32(User.Id);
  w.Text(TLogin(User.Name).GetCode());
  w.Text(TLogin(User.Code).GetCode());
  w.Text(TLogin(EffectiveLogin(User)).GetCode());
  w.Text(TMotDePasse(password).GetCode());
  w.U8(User.Flag);
  w.Text(User.Text);
  w.U8(Administrator ? 1 : 0);
  return std::move(w.Result());
}

std::string AccountBase::CodedUserProfile(const UserProfile& Profile) {
  Bytes::Writer w;
  w.U32(Profile.Id);
  w.Text(TLogin(Profile.Name).GetCode());
  w.U8(Profile.Kind);
  w.U8(0);
  w.U8(0);  // right 0 does not exist
  for (int i = 1; i < 256; ++i) w.U8((Profile.Rights[static_cast<size_t>(i / 8)] >> (i % 8)) & 1);
  return std::move(w.Result());
}

std::string AccountBase::AssignmentRecord(const Assignment& A) {
  Bytes::Writer w;
  w.U32(A.Id);
  w.U32(A.ServerProfile);
  w.U32(A.UserProfile);
  w.U32(A.User);
  w.U8(1);
  w.Zeros(3);
  return std::move(w.Result());
}

namespace AccountCoding {

std::string Encode(std::string_view Clear) {
  std::string s(Clear);
  for (size_t i = 0; i < s.size(); ++i) s[i] = static_cast<char>(static_cast<uint8_t>(s[i]) ^ kMask[i % 16]);
  return s;
}

bool Decode(std::string_view Coded, std::string& Clear) {
  if (Coded.size() > kPasswordMax) return false;
  Clear = Encode(Coded);
  return true;
}

}  // namespace AccountCoding

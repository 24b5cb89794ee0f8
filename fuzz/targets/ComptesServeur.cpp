// The data server's account file: whatever the bytes, the reader refuses them whole or reads a base
// that writes back the same bytes.
#include "fuzz/FuzzSupport.h"
#include "server/AccountBase.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
  Fuzz::Demarrer();
  const std::string_view bytes(reinterpret_cast<const char*>(Data), Size);
  AccountBase base;
  std::string error;
  if (!base.Parse(bytes, error)) {
    Fuzz::Verifier(!error.empty() && base.Users().empty(), "a refused file says why and reads nothing");
    return 0;
  }
  Fuzz::Verifier(base.Serialize() == bytes, "a file read writes back the same bytes");
  return 0;
}

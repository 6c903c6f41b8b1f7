#include "pdf/document/CPDFSecurityHandler.h"

#include "pdf/core/CPDFArray.h"
#include "pdf/core/ErrorReport.h"

namespace qv {

std::optional<EncryptionState> CPDFSecurityHandler::checkEncryption(
    const CPDFDict& trailer, const std::optional<std::string>& ownerPassword,
    const std::optional<std::string>& userPassword) {
  EncryptionState state;
  const CPDFObject encrypt = trailer.lookup("Encrypt");
  if (!encrypt.isDict()) {
    return state;
  }
  const CPDFDict& dict = *encrypt.getDict();
  state.encrypted = true;

  const CPDFObject filter = dict.lookup("Filter");
  if (!filter.isName("Standard")) {
    reportError(-1, "Unknown security handler '%s'",
                filter.isName() ? filter.getName().c_str() : "???");
    return std::nullopt;
  }

  const CPDFObject v = dict.lookup("V");
  const CPDFObject r = dict.lookup("R");
  const CPDFObject length = dict.lookup("Length");
  const CPDFObject o = dict.lookup("O");
  const CPDFObject u = dict.lookup("U");
  const CPDFObject p = dict.lookup("P");
  const CPDFObject id = trailer.lookup("ID");
  if (!v.isInt() || !r.isInt() || !p.isInt() || !o.isString() || o.getString().size() != 32 ||
      !u.isString() || u.getString().size() != 32 || !id.isArray()) {
    reportError(-1, "Weird encryption info");
    return std::nullopt;
  }
  state.v = v.getInt();
  state.r = r.getInt();
  state.p = p.getInt();
  // Key length in bytes; the key buffers hold 16 bytes and RC4 needs at least one, so a
  // Length outside 40..128 bits (after the division) is refused rather than used.
  const int32_t keyLength = length.isInt() ? length.getInt() / 8 : 5;
  if (state.v < 1 || state.v > 2 || state.r < 2 || state.r > 3) {
    reportError(-1, "Unsupported version/revision (%d/%d) of Standard security handler", state.v,
                state.r);
    return std::nullopt;
  }
  if (keyLength < 5 || keyLength > 16) {
    reportError(-1, "Weird encryption info");
    return std::nullopt;
  }
  state.keyLength = static_cast<size_t>(keyLength);

  const CPDFObject firstId = id.arrayGet(0);
  if (!firstId.isString()) {
    reportError(-1, "Weird encryption info");
    return std::nullopt;
  }

  StandardSecurityParams params;
  params.revision = state.r;
  params.keyLength = state.keyLength;
  params.o.assign(o.getString().bytes(), o.getString().bytes() + 32);
  params.u.assign(u.getString().bytes(), u.getString().bytes() + 32);
  params.permissions = state.p;
  const CPDFString& idBytes = firstId.getString();
  params.id.assign(idBytes.bytes(), idBytes.bytes() + idBytes.size());

  const std::optional<FileKey> key = computeFileKey(params, ownerPassword, userPassword);
  if (!key) {
    reportError(-1, "Incorrect password");
    return std::nullopt;
  }
  state.fileKey = *key;
  state.ownerPasswordOk = key->ownerPasswordOk;
  if (ownerPassword && !state.ownerPasswordOk) {
    reportError(-1, "Incorrect owner password");
  }
  return state;
}

}  // namespace qv

#include <cstdint>
#include <istream>
#include <ostream>
#include <string>
#include <utility>

#include "nmx/base/streams.h"
#include "nmx/vector/detail/files_core.h"
#include "nmx/vector/intvector.h"

namespace NMX_vector {
namespace {

using Core = detail::FilesCore;

void WriteInt(std::ostream& S, std::int32_t X) {
  NMX_streams::WriteLongintToStream(S, X);
}

bool ReadInt(std::istream& S, std::int32_t& X) {
  bool Failed = false;
  X = NMX_streams::ReadLongintFromStream(S, Failed);
  return !Failed;
}

}  // namespace

// The header names the ASC file FName; here that would shadow the component's name field.

int TIntVector::ExportAsASC(const std::string& FileName, const std::string& Comment) const {
  return Core::ExportAsASC(*this, FileName, Comment, "TIntVector",
                           [this](int K) { return std::to_string(GetVal(K)); });
}

int TIntVector::ImportASC(const std::string& FileName, std::string& Comment) {
  return Core::ImportASC(*this, FileName, Comment);
}

bool TIntVector::StoreOnFile(int FirstElem, int LastElem, const std::string& FileName) const {
  if (LastElem < FirstElem) std::swap(FirstElem, LastElem);
  if (FirstElem <= 0) FirstElem = 1;
  if (LastElem > NrOfElem()) LastElem = NrOfElem();
  return Core::StoreOnFile(FileName, FirstElem, LastElem,
                           [this](int K) { return std::to_string(GetVal(K)); });
}

bool TIntVector::LoadFromFile(const std::string& FileName, bool AdjustVectorSize) {
  return Core::LoadFromFile(*this, FileName, AdjustVectorSize);
}

void TIntVector::SaveToStream(std::ostream& OutStream, int LowElem, int HighElem) const {
  Core::SaveToStream(*this, OutStream, LowElem, HighElem, WriteInt, WriteInt);
}

bool TIntVector::LoadFromStream(std::istream& InStream, bool AdjustVectorSize) {
  return Core::LoadFromStream(*this, InStream, AdjustVectorSize, 4, ReadInt, ReadInt);
}

}  // namespace NMX_vector

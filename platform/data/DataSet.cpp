#include "platform/data/DataSet.h"

#include <cmath>
#include <cstdio>

#include "core/values/ChaineUnicode.h"
#include "core/values/Format.h"

namespace {

const TFieldValue kNullValue{};

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && ChaineUnicode::Majuscules1252(a) == ChaineUnicode::Majuscules1252(b);
}

}  // namespace

// -----------------------------------------------------------------------------------------------
// TField

bool TField::IsIntegerField() const {
  return dataType_ == TFieldType::ftInteger || dataType_ == TFieldType::ftSmallint || dataType_ == TFieldType::ftWord;
}

bool TField::IsFloatField() const {
  return dataType_ == TFieldType::ftFloat || dataType_ == TFieldType::ftCurrency || dataType_ == TFieldType::ftBCD;
}

const TFieldValue& TField::Value() const { return dataSet_->CurrentValue(index_); }

bool TField::IsNull() const { return Value().IsNull; }

std::string TField::AsString() const {
  const TFieldValue& v = Value();
  if (v.IsNull) return {};
  switch (dataType_) {
    case TFieldType::ftString: return v.Text;
    case TFieldType::ftInteger:
    case TFieldType::ftSmallint:
    case TFieldType::ftWord: return std::to_string(v.Integer);
    case TFieldType::ftFloat:
    case TFieldType::ftCurrency:
    case TFieldType::ftBCD: return FloatToStrGeneral(v.Float, 15);
    case TFieldType::ftBoolean: return v.Boolean ? "True" : "False";
    case TFieldType::ftDate: return DataSet::DateText(v.Float);
    case TFieldType::ftTime: return DataSet::TimeText(v.Float);
    case TFieldType::ftDateTime: return DataSet::DateTimeText(v.Float);
    case TFieldType::ftUnknown: break;
  }
  return v.Text;
}

int32_t TField::AsInteger() const {
  const TFieldValue& v = Value();
  return v.IsNull ? 0 : static_cast<int32_t>(static_cast<uint32_t>(v.Integer));
}

double TField::AsFloat() const {
  const TFieldValue& v = Value();
  return v.IsNull ? 0 : v.Float;
}

bool TField::AsBoolean() const {
  const TFieldValue& v = Value();
  return !v.IsNull && v.Boolean;
}

// -----------------------------------------------------------------------------------------------
// TMemDataSet

void TMemDataSet::DefineFields(std::vector<FieldDef> Defs, bool Default) {
  if (active_) throw EDatabaseError("Cannot change the fields of an open dataset");
  defs_ = std::move(Defs);
  default_ = Default;
  rows_.clear();
  MakeFields();
}

void TMemDataSet::MakeFields() {
  fields_.clear();
  for (std::size_t i = 0; i < defs_.size(); ++i)
    fields_.push_back(std::make_unique<TField>(this, static_cast<int>(i), defs_[i].Name, defs_[i].DataType));
}

void TMemDataSet::AppendRow(std::vector<TFieldValue> Values) {
  if (Values.size() != defs_.size()) throw EDatabaseError("Row width differs from the field list");
  rows_.push_back(std::move(Values));
}

void TMemDataSet::Open() {
  if (active_) return;
  if (default_) MakeFields();  // new field objects, as a dataset with default fields makes them
  active_ = true;
  current_ = 0;
}

void TMemDataSet::Close() { active_ = false; }

void TMemDataSet::RequireActive() const {
  if (!active_) throw EDatabaseError("Cannot perform this operation on a closed dataset");
}

void TMemDataSet::First() {
  RequireActive();
  current_ = 0;
}

void TMemDataSet::Next() {
  RequireActive();
  if (current_ < static_cast<int>(rows_.size())) ++current_;
}

void TMemDataSet::Prior() {
  RequireActive();
  if (current_ > 0) --current_;
}

bool TMemDataSet::Eof() const { return !active_ || current_ >= static_cast<int>(rows_.size()); }

int32_t TMemDataSet::RecordCount() const {
  RequireActive();
  return static_cast<int32_t>(rows_.size());
}

TField* TMemDataSet::Fields(int Index) const {
  return Index >= 0 && Index < static_cast<int>(fields_.size()) ? fields_[static_cast<std::size_t>(Index)].get() : nullptr;
}

TField* TMemDataSet::FindField(std::string_view Name) const {
  for (const auto& f : fields_)
    if (SameName(f->FieldName(), Name)) return f.get();
  return nullptr;
}

TParam* TMemDataSet::Params(int Index) {
  return Index >= 0 && Index < static_cast<int>(params_.size()) ? &params_[static_cast<std::size_t>(Index)] : nullptr;
}

const TFieldValue& TMemDataSet::CurrentValue(int FieldIndex) const {
  if (!active_ || current_ >= static_cast<int>(rows_.size()) || FieldIndex < 0 ||
      FieldIndex >= static_cast<int>(defs_.size()))
    return kNullValue;
  return rows_[static_cast<std::size_t>(current_)][static_cast<std::size_t>(FieldIndex)];
}

// -----------------------------------------------------------------------------------------------
// Date and time texts

std::string DataSet::DateText(TDateTime Value) {
  if (!std::isfinite(Value) || std::fabs(Value) > 2958466.0) return {};
  int year;
  unsigned month, day;
  DateTime::DecodeDate(Value, year, month, day);
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%02u/%02u/%04d", day, month, year);
  return buffer;
}

std::string DataSet::TimeText(TDateTime Value) {
  if (!std::isfinite(Value) || std::fabs(Value) > 2958466.0) return {};
  unsigned hour, minute, second, ms;
  DateTime::DecodeTime(Value, hour, minute, second, ms);
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%02u:%02u:%02u", hour, minute, second);
  return buffer;
}

std::string DataSet::DateTimeText(TDateTime Value) {
  const std::string date = DateText(Value);
  return date.empty() ? date : date + " " + TimeText(Value);
}

namespace {
// Reads N digits at Position into Value.
bool Digits(std::string_view Text, std::size_t Position, std::size_t N, unsigned& Value) {
  if (Position + N > Text.size()) return false;
  Value = 0;
  for (std::size_t i = 0; i < N; ++i) {
    const char c = Text[Position + i];
    if (c < '0' || c > '9') return false;
    Value = Value * 10 + static_cast<unsigned>(c - '0');
  }
  return true;
}
}  // namespace

bool DataSet::DateFromText(std::string_view Text, TDateTime& Value) {
  unsigned d = 0, m = 0, y = 0;
  if (Text.size() != 10 || Text[2] != '/' || Text[5] != '/' || !Digits(Text, 0, 2, d) || !Digits(Text, 3, 2, m) ||
      !Digits(Text, 6, 4, y))
    return false;
  static const unsigned kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (y < 1 || m < 1 || m > 12 || d < 1 || d > kDays[m - 1]) return false;
  const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  if (m == 2 && d == 29 && !leap) return false;
  Value = DateTime::EncodeDate(static_cast<int>(y), m, d);
  return true;
}

bool DataSet::TimeFromText(std::string_view Text, TDateTime& Value) {
  unsigned h = 0, n = 0, s = 0;
  if (Text.size() != 8 || Text[2] != ':' || Text[5] != ':' || !Digits(Text, 0, 2, h) || !Digits(Text, 3, 2, n) ||
      !Digits(Text, 6, 2, s) || h > 23 || n > 59 || s > 59)
    return false;
  Value = DateTime::EncodeTime(h, n, s, 0);
  return true;
}

bool DataSet::DateTimeFromText(std::string_view Text, TDateTime& Value) {
  TDateTime date = 0, time = 0;
  if (Text.size() == 10) {
    if (!DateFromText(Text, date)) return false;
    Value = date;
    return true;
  }
  if (Text.size() != 19 || Text[10] != ' ' || !DateFromText(Text.substr(0, 10), date) ||
      !TimeFromText(Text.substr(11), time))
    return false;
  Value = date + time;
  return true;
}

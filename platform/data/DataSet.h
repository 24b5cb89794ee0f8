// The data-access components that feed reports: a dataset walks records whose values are read
// through its fields; a query adds named, typed parameters. IDataSet is what a report asks of any
// data source; TMemDataSet is a dataset held in memory (its field definitions and rows given by the
// program), which the report library's tests and fuzz targets use.
//
// Fields belong to their dataset. A dataset that creates its fields by default (DefaultFields)
// makes new field objects each time it opens: a reader keeps a field's index, not its address,
// across an open. Main thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/objects/Exceptions.h"
#include "core/values/DateTime.h"
#include "platform/gui/Controles.h"

// The field classes a report tells apart. A time field is a kind of date-time field.
enum class TFieldType : uint8_t {
  ftUnknown,
  ftString,
  ftInteger,
  ftSmallint,
  ftWord,
  ftFloat,
  ftCurrency,
  ftBCD,
  ftBoolean,
  ftDate,
  ftTime,
  ftDateTime,
};

// A failure of a dataset operation (a closed dataset asked for its records, an unknown field).
class EDatabaseError : public Exception {
 public:
  using Exception::Exception;
};

// One value of a field or a parameter: the payload of its type (texts in 1252).
struct TFieldValue {
  bool IsNull = true;
  std::string Text;
  int64_t Integer = 0;
  double Float = 0;  // also dates and times
  bool Boolean = false;

  static TFieldValue OfText(std::string v) { return {false, std::move(v), 0, 0, false}; }
  static TFieldValue OfInteger(int64_t v) { return {false, {}, v, 0, false}; }
  static TFieldValue OfFloat(double v) { return {false, {}, 0, v, false}; }
  static TFieldValue OfBoolean(bool v) { return {false, {}, 0, 0, v}; }
};

class IDataSet;

// A field: its name, its class, and the value of the dataset's current record.
class TField {
 public:
  TField(IDataSet* DataSet, int Index, std::string Name, TFieldType DataType)
      : dataSet_(DataSet), index_(Index), name_(std::move(Name)), dataType_(DataType) {}
  TField(const TField&) = delete;
  TField& operator=(const TField&) = delete;

  const std::string& FieldName() const { return name_; }
  TFieldType DataType() const { return dataType_; }
  int Index() const { return index_; }

  // The class tests, each accepting the descendants as the class library's fields do.
  bool IsStringField() const { return dataType_ == TFieldType::ftString; }
  bool IsIntegerField() const;  // integer, small integer, word
  bool IsFloatField() const;    // float, currency, BCD
  bool IsBooleanField() const { return dataType_ == TFieldType::ftBoolean; }
  bool IsDateField() const { return dataType_ == TFieldType::ftDate; }
  bool IsDateTimeField() const { return dataType_ == TFieldType::ftDateTime || dataType_ == TFieldType::ftTime; }

  bool IsNull() const;
  // The value in the field's own type; a null value reads as "", 0, 0.0 or false.
  std::string AsString() const;
  int32_t AsInteger() const;
  double AsFloat() const;
  bool AsBoolean() const;

 private:
  const TFieldValue& Value() const;

  IDataSet* dataSet_;
  int index_;
  std::string name_;
  TFieldType dataType_;
};

// A named parameter of a query, with its declared type and its value.
struct TParam {
  std::string Name;
  TFieldType DataType = TFieldType::ftUnknown;
  TFieldValue Value;
};

class IDataSet {
 public:
  virtual ~IDataSet() = default;

  // The dataset's component name.
  virtual std::string DataSetName() const = 0;
  virtual bool Active() const = 0;
  virtual void Open() = 0;
  virtual void Close() = 0;
  virtual void First() = 0;
  virtual void Next() = 0;
  virtual void Prior() = 0;
  // True past the last record (at once when there is none).
  virtual bool Eof() const = 0;
  // The number of records; may raise (a closed dataset).
  virtual int32_t RecordCount() const = 0;

  virtual int FieldCount() const = 0;
  // The field at an index, nil outside the list.
  virtual TField* Fields(int Index) const = 0;
  // The field of that name, compared without case; nil when none.
  virtual TField* FindField(std::string_view Name) const = 0;
  // True when the dataset makes its field objects anew each time it opens.
  virtual bool DefaultFields() const = 0;

  // A query's named parameters; none for a plain dataset.
  virtual int ParamCount() const { return 0; }
  virtual TParam* Params(int Index) { (void)Index; return nullptr; }

  // The value of a field of the current record (used by the fields).
  virtual const TFieldValue& CurrentValue(int FieldIndex) const = 0;
};

// A dataset held in memory: field definitions, then rows of values in field order. A component:
// its owner frees it, and its name is the dataset's name.
class TMemDataSet : public TComponent, public IDataSet {
 public:
  struct FieldDef {
    std::string Name;
    TFieldType DataType;
  };

  explicit TMemDataSet(TComponent* Owner, std::string Name = {}) : TComponent(Owner) { SetName(std::move(Name)); }
  // Defines the fields (only while closed) and whether they are made anew at each open.
  void DefineFields(std::vector<FieldDef> Defs, bool Default = false);
  // Appends a row; a row of another width than the field list is refused.
  void AppendRow(std::vector<TFieldValue> Values);
  // The query parameters it offers.
  void DefineParams(std::vector<TParam> Params) { params_ = std::move(Params); }

  std::string DataSetName() const override { return Name(); }
  bool Active() const override { return active_; }
  void Open() override;
  void Close() override;
  void First() override;
  void Next() override;
  void Prior() override;
  bool Eof() const override;
  int32_t RecordCount() const override;
  int FieldCount() const override { return static_cast<int>(fields_.size()); }
  TField* Fields(int Index) const override;
  TField* FindField(std::string_view Name) const override;
  bool DefaultFields() const override { return default_; }
  int ParamCount() const override { return static_cast<int>(params_.size()); }
  TParam* Params(int Index) override;
  const TFieldValue& CurrentValue(int FieldIndex) const override;

  // The number of the current record, 0-based (the record count when past the last).
  int RecNo() const { return current_; }

 private:
  void MakeFields();
  void RequireActive() const;

  std::vector<FieldDef> defs_;
  std::vector<std::unique_ptr<TField>> fields_;
  std::vector<std::vector<TFieldValue>> rows_;
  std::vector<TParam> params_;
  bool default_ = false;
  bool active_ = false;
  int current_ = 0;
};

namespace DataSet {

// The text forms of dates and times that fields and reports write: "dd/mm/yyyy", "hh:mm:ss", and
// both separated by a blank.
std::string DateText(TDateTime Value);
std::string TimeText(TDateTime Value);
std::string DateTimeText(TDateTime Value);
// The inverse: a date ("dd/mm/yyyy"), a time ("hh:mm:ss") or both separated by a blank; false (Value
// unchanged) for any other text or an impossible date or time.
bool DateFromText(std::string_view Text, TDateTime& Value);
bool TimeFromText(std::string_view Text, TDateTime& Value);
bool DateTimeFromText(std::string_view Text, TDateTime& Value);

}  // namespace DataSet

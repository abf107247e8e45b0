// A minimal writer of one-line JSON values: objects, arrays, integers,
// booleans and Latin-1 strings (written as UTF-8).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kelvarok::sim {

class JsonWriter {
 public:
  JsonWriter& BeginObject();
  JsonWriter& EndObject();
  JsonWriter& BeginArray();
  JsonWriter& EndArray();
  JsonWriter& Key(std::string_view key);
  JsonWriter& Int(std::int64_t value);
  JsonWriter& Bool(bool value);
  JsonWriter& String(std::string_view latin1);
  // A key with its value.
  JsonWriter& Int(std::string_view key, std::int64_t value) { return Key(key).Int(value); }
  JsonWriter& Bool(std::string_view key, bool value) { return Key(key).Bool(value); }
  JsonWriter& String(std::string_view key, std::string_view latin1) {
    return Key(key).String(latin1);
  }

  // The text written so far; Take() also starts afresh.
  const std::string& text() const { return out_; }
  std::string Take();

 private:
  void BeforeValue();

  std::string out_;
  std::vector<bool> empty_;  // per open container: nothing written in it yet
  bool afterKey_ = false;
};

}  // namespace kelvarok::sim

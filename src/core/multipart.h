// multipart/form-data bodies of the update requests: plain text fields in the order added.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace core {

class MultipartForm {
 public:
  explicit MultipartForm(std::string boundary);
  void Add(const std::string& name, const std::string& value);
  const std::vector<std::pair<std::string, std::string>>& Fields() const { return fields_; }
  std::string Body() const;
  std::string ContentType() const;  // with the boundary

 private:
  std::string boundary_;
  std::vector<std::pair<std::string, std::string>> fields_;
};

}  // namespace core

// multipart/form-data; see multipart.h.
#include "core/multipart.h"

namespace core {

MultipartForm::MultipartForm(std::string boundary) : boundary_(std::move(boundary)) {}

void MultipartForm::Add(const std::string& name, const std::string& value) { fields_.emplace_back(name, value); }

std::string MultipartForm::Body() const {
  std::string body;
  for (const auto& [name, value] : fields_) {
    body += "--" + boundary_ + "\r\n";
    body += "Content-Disposition: form-data; name=\"" + name + "\"\r\n";
    body += "Content-Type: text/plain\r\n";
    body += "Content-Transfer-Encoding: quoted-printable\r\n\r\n";
    body += value + "\r\n";
  }
  body += "--" + boundary_ + "--\r\n";
  return body;
}

std::string MultipartForm::ContentType() const { return "multipart/form-data; boundary=" + boundary_; }

}  // namespace core

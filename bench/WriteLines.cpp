// The least a program can do to write a report: read the finished report in
// one call, then write it to the output file one line (with its CR LF) per
// write call, as the report writer writes. Started the same way as the
// export, it is the yardstick of the export's whole run.
//   write_lines SOURCE DESTINATION
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

bool ReadAll(const char* path, std::string* bytes) {
  const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info {};
  bool ok = ::fstat(fd, &info) == 0;
  if (ok) {
    bytes->resize(static_cast<std::size_t>(info.st_size));
    ok = ::read(fd, bytes->data(), bytes->size()) == static_cast<ssize_t>(bytes->size());
  }
  ::close(fd);
  return ok;
}

bool WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: write_lines SOURCE DESTINATION\n");
    return 2;
  }
  std::string bytes;
  if (!ReadAll(argv[1], &bytes)) {
    std::perror(argv[1]);
    return 1;
  }
  const int fd = ::open(argv[2], O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) {
    std::perror(argv[2]);
    return 1;
  }
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t crlf = bytes.find("\r\n", start);
    const std::size_t end = crlf == std::string::npos ? bytes.size() : crlf + 2;
    if (!WriteAll(fd, bytes.data() + start, end - start)) {
      std::perror(argv[2]);
      return 1;
    }
    start = end;
  }
  return ::close(fd) == 0 ? 0 : 1;
}

// A stream buffer written the way a game derives its own: input from a
// fixed text, output into a bounded array, and a record of the virtual
// calls the streams make on it.
#ifndef TORVEL_TEST_SCRIPT_BUFFER_H
#define TORVEL_TEST_SCRIPT_BUFFER_H

#include "c_functions.h"
#include "istream.h"

class script_buffer : public std::basic_streambuf<char> {
public:
  // With areas, the text is one get area and the output has a put area;
  // without, every character goes through underflow/uflow and overflow.
  enum mode { areas, trickle };

  explicit script_buffer(const char* input = "", mode m = trickle, int input_length = -1)
      : in_(input), in_length_(input_length < 0 ? static_cast<int>(strlen(input)) : input_length), m_(m) {
    out_[0] = '\0';
    if (m == areas) {
      setg(const_cast<char*>(in_), const_cast<char*>(in_), const_cast<char*>(in_) + in_length_);
      setp(out_, out_ + capacity);
    }
  }

  // What was written so far, NUL-terminated.
  const char* written() {
    int used = m_ == areas ? static_cast<int>(put_next - out_) : out_used_;
    out_[used] = '\0';
    return out_;
  }
  int written_count() { return static_cast<int>(strlen(written())); }
  // Characters not yet read.
  const char* rest() const { return m_ == areas ? get_next : in_ + in_pos_; }

  int output_limit = capacity;   // overflow refuses characters beyond this count
  int sync_result = 0;
  int sync_calls = 0;
  int xsputn_calls = 0;
  int seek_calls = 0;
  long long seek_result = 0;
  int showmany_result = 0;
  bool accept_pushback = false;
  int pushed_back = -2;

  int sync() override {
    ++sync_calls;
    return sync_result;
  }
  std::streamsize showmanyc() override { return showmany_result; }
  int underflow() override {
    if (m_ == areas || in_pos_ >= in_length_) return -1;
    return static_cast<unsigned char>(in_[in_pos_]);
  }
  int uflow() override {
    if (m_ == areas) return std::basic_streambuf<char>::uflow();
    if (in_pos_ >= in_length_) return -1;
    return static_cast<unsigned char>(in_[in_pos_++]);
  }
  int pbackfail(int c) override {
    pushed_back = c;
    if (!accept_pushback) return -1;
    --in_pos_;
    return c == -1 ? 0 : c;
  }
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    ++xsputn_calls;
    return std::basic_streambuf<char>::xsputn(s, n);
  }
  int overflow(int c) override {
    if (c == -1 || out_used_ >= output_limit || m_ == areas) return -1;
    out_[out_used_++] = static_cast<char>(c);
    return c;
  }
  pos_type seekoff(off_type off, std::_Ios_Seekdir, std::_Ios_Openmode) override {
    ++seek_calls;
    return pos_type(seek_result == 0 ? off : seek_result);
  }
  pos_type seekpos(pos_type pos, std::_Ios_Openmode) override {
    ++seek_calls;
    return pos_type(seek_result == 0 ? pos.offset : seek_result);
  }

private:
  static const int capacity = 2000;
  const char* in_;
  int in_length_;
  int in_pos_ = 0;
  mode m_;
  char out_[capacity + 1];
  int out_used_ = 0;
};

// The two kinds of buffer every input case runs over.
const script_buffer::mode both_modes[] = {script_buffer::areas, script_buffer::trickle};

#endif

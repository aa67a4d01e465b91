// GDI+ and the skin images as the program has them, for a test suite or a whole run.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "framework/GdiplusSession.h"

namespace testkit {

// GDI+ started and the skin images registered for the object's life; the images are released
// before GDI+ shuts down.
class SkinSession {
  public:
    SkinSession();
    ~SkinSession();
    SkinSession(const SkinSession&) = delete;
    SkinSession& operator=(const SkinSession&) = delete;

  private:
    fw::GdiplusSession gdiplus_;
};

// A fixture whose suite runs inside a SkinSession. A fixture with suite set-up of its own calls
// WithSkin::SetUpTestSuite first.
//   class MainWindow : public testkit::WithSkin<> {...};
template <class Base = ::testing::Test>
class WithSkin : public Base {
  public:
    static void SetUpTestSuite() { session_ = std::make_unique<SkinSession>(); }
    static void TearDownTestSuite() { session_.reset(); }

  private:
    static inline std::unique_ptr<SkinSession> session_;
};

// A SkinSession for the whole run of a test executable:
//   ::testing::AddGlobalTestEnvironment(new testkit::SkinEnvironment);
class SkinEnvironment : public ::testing::Environment {
  public:
    void SetUp() override { session_ = std::make_unique<SkinSession>(); }
    void TearDown() override { session_.reset(); }

  private:
    std::unique_ptr<SkinSession> session_;
};

}  // namespace testkit

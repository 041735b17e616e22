#pragma once
// The "fake-jvm" child mode (see fake_jvm_mode.cpp); its exit code.
int runFakeJvm();

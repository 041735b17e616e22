#pragma once
// The verifier protocol: the command that makes a candidate JVM run the
// verifier class, and the reading of what the verifier printed.

#include <string>
#include <vector>

#include "jvm/jvm_properties.h"

class JvmFile;

// The verifier's first line: proof that the JVM ran the verifier at all.
extern const char kVerifierMagic[];

// The verifier command before expansion: the quoted executable below home
// (separator added unless home ends with it), %CP% with the classpath (a
// quoted classpath with its quotes doubled so that they survive the
// argument reading), the class and the property names in pattern order.
std::string verifierCommandTemplate(const std::string& home, char separator,
                                    const std::string& classpath, const std::string& className,
                                    const std::vector<PropertyPattern>& properties);

// Whether the output holds the magic line: the verifier itself ran.
bool hasVerifierMagic(const std::string& output);

// Whether the output holds the magic line followed by one line per pattern
// that satisfies it; lines before the magic are ignored. A missing magic
// line is logged as an error; a missing or differing value is not.
bool checkVerifierOutput(const std::string& output, const std::vector<PropertyPattern>& properties);

// Whether the JVM file names the properties that hint searches and the
// verification of its own home insist on; logs the warning when not.
bool hasRequiredProperties(const JvmFile& jvmFile);

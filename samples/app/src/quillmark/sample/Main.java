package quillmark.sample;

import java.io.BufferedReader;
import java.io.FileReader;
import java.io.IOException;

/**
 * The sample application the sample launcher starts. It greets, shows the
 * arguments it was given and what the launcher told it about the runtime it
 * chose, and exits with the code given by "--exit N" (0 otherwise), so that a
 * caller can see the launcher pass exit codes through. "--paths" shows the
 * paths the launcher handed over in system properties.
 */
public final class Main {
    private Main() {}

    public static void main(String[] args) {
        System.out.println("Hello from the Quillmark sample application.");
        System.out.println("Java " + System.getProperty("java.version") + " from "
                + System.getProperty("java.vendor"));
        System.out.println("Runtime chosen by the launcher: " + describeRuntime());
        int exitCode = 0;
        for (int i = 0; i < args.length; ++i) {
            if (args[i].equals("--exit") && i + 1 < args.length) {
                exitCode = Integer.parseInt(args[++i]);
            } else if (args[i].equals("--paths")) {
                for (String name : new String[] {"qm.jvm.home", "qm.jvm.file", "qm.external.home",
                        "qm.launcher.file", "qm.media.home", "temp.dir", "user.dir"}) {
                    System.out.println(name + ": [" + System.getProperty(name) + "]");
                }
            } else {
                System.out.println("Argument: [" + args[i] + "]");
            }
        }
        if (exitCode != 0) {
            System.err.println("The sample application exits with code " + exitCode + ".");
        }
        System.exit(exitCode);
    }

    // The launcher writes a copy of the JVM description file it matched and
    // names it in qm.jvm.file; its DESC says which kind of runtime was accepted.
    private static String describeRuntime() {
        String jvmFile = System.getProperty("qm.jvm.file");
        if (jvmFile == null || jvmFile.isEmpty()) {
            return "unknown (not started by the launcher)";
        }
        try (BufferedReader reader = new BufferedReader(new FileReader(jvmFile))) {
            for (String line = reader.readLine(); line != null; line = reader.readLine()) {
                if (line.startsWith("DESC:")) {
                    return line.substring("DESC:".length()).trim();
                }
            }
        } catch (IOException e) {
            return "unreadable description file " + jvmFile;
        }
        return "no description";
    }
}

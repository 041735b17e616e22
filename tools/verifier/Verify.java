// Run by the launcher against a candidate JVM: prints the magic line, then the
// value of each system property named on the command line, one per line
// ("null" for a property the JVM does not have). Nothing else is printed.
public class Verify {
    public static void main(String[] args) {
        StringBuilder out = new StringBuilder("1739021872\n");
        for (int i = 0; i < args.length; i++) {
            out.append(System.getProperty(args[i])).append('\n');
        }
        System.out.print(out);
        System.out.flush();
    }
}

package demo;

import java.util.Arrays;

/**
 * The demo application as the launcher starts it from an installation: the
 * first argument is the installation directory, the words (if any) follow.
 */
public final class InstalledDemo {
    private InstalledDemo() {}

    public static void main(String[] args) {
        Demo.main(args.length > 1 ? Arrays.copyOfRange(args, 1, args.length) : new String[0]);
    }
}

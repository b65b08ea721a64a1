package demo;

import java.io.IOException;
import java.nio.file.Path;
import java.util.Arrays;

/**
 * The demo application as the launcher starts it from an installation: the
 * first argument is the installation directory, which holds the media
 * directory; the words (if any) follow. Where there is no sound device the
 * environment names the files that take the sound instead
 * (QUILL_SOUND_FILE, QUILL_WAVE_FILE).
 */
public final class InstalledDemo {
    private InstalledDemo() {}

    public static void main(String[] args) throws IOException {
        if (args.length > 0) {
            System.setProperty("quill.media", Path.of(args[0], "media") + "/");
        }
        setFromEnvironment("quill.soundFile", "QUILL_SOUND_FILE");
        setFromEnvironment("quill.waveFile", "QUILL_WAVE_FILE");
        Demo.main(args.length > 1 ? Arrays.copyOfRange(args, 1, args.length) : new String[0]);
    }

    private static void setFromEnvironment(String property, String variable) {
        String value = System.getenv(variable);
        if (value != null && !value.isEmpty()) {
            System.setProperty(property, value);
        }
    }
}

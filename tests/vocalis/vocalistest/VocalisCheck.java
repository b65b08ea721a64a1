package vocalistest;

import com.corvantis.utilities.QzAudioPlayer;
import java.io.IOException;
import java.nio.file.Files;
import java.nio.file.Path;

/**
 * libvocalis.so in a real JVM, driven the way the application drives it,
 * playing through ALSA's file plugin (AUDIODEV names the raw file the
 * samples go to). Arguments: the media directory, the raw file, the test
 * data directory; or null-set-up alone, for a first set-up with a null media
 * directory. Prints one line per check and a marker line before each
 * call whose own output run-vocalis-check looks at; exits non-zero when a
 * check fails.
 */
public final class VocalisCheck {
    private static int failures = 0;

    private static void expect(String what, boolean ok) {
        if (!ok) {
            failures++;
        }
        System.out.println((ok ? "ok   " : "FAIL ") + what);
    }

    private static void marker(String name) {
        System.out.println("--- " + name);
    }

    /**
     * What the device got is the decoded clip, sample for sample, with
     * nothing but silence before and after it.
     */
    private static boolean playedExactly(byte[] played, byte[] clip) {
        int firstInClip = 0;
        while (firstInClip < clip.length && clip[firstInClip] == 0) firstInClip++;
        int firstPlayed = 0;
        while (firstPlayed < played.length && played[firstPlayed] == 0) firstPlayed++;
        int offset = firstPlayed - firstInClip;
        if (firstInClip == clip.length || offset < 0 || offset % 4 != 0
                || offset + clip.length > played.length) {
            System.out.printf("     clip of %d bytes not found in %d bytes played%n",
                              clip.length, played.length);
            return false;
        }
        for (int i = 0; i < clip.length; i++) {
            if (played[offset + i] != clip[i]) {
                System.out.printf("     byte %d of the clip differs%n", i);
                return false;
            }
        }
        for (int i = offset + clip.length; i < played.length; i++) {
            if (played[i] != 0) {
                System.out.printf("     sound after the clip at byte %d%n", i);
                return false;
            }
        }
        return true;
    }

    private static void play(QzAudioPlayer player, String name, Path raw, Path clipFile)
            throws IOException {
        byte[] clip = Files.readAllBytes(clipFile);
        long durationMs = clip.length * 1000L / 176400L;
        Files.deleteIfExists(raw);
        marker("play " + name);
        long start = System.nanoTime();
        player.internalPlay(name, "de_de");
        long elapsedMs = (System.nanoTime() - start) / 1_000_000L;
        expect(name + " returns after the clip: " + elapsedMs + " ms for " + durationMs
               + " ms", elapsedMs >= durationMs + 1 && elapsedMs < durationMs + 10_000);
        byte[] played = Files.exists(raw) ? Files.readAllBytes(raw) : new byte[0];
        expect(name + " played " + clipFile.getFileName() + " sample for sample",
               playedExactly(played, clip));
    }

    public static void main(String[] args) throws IOException {
        if (args.length == 1 && args[0].equals("null-set-up")) {
            // Run in a JVM of its own: only the first set-up of a process counts.
            marker("null set-up");
            expect("_nativeInit with null", new QzAudioPlayer()._nativeInit(4, null) == 0);
            marker("done");
            System.exit(failures > 0 ? 1 : 0);
        }
        String media = args[0];
        Path raw = Path.of(args[1]);
        Path data = Path.of(args[2]);
        QzAudioPlayer player = new QzAudioPlayer();

        marker("hello");
        player.sayHello();

        // Before any set-up the library name has empty parts.
        marker("before set-up");
        player.internalPlay("w1234a", "de_de");

        marker("set-up");
        expect("_nativeInit", player._nativeInit(4, media) == 0);
        marker("set-up again");
        expect("second _nativeInit", player._nativeInit(3, "D:\\m\\") == 0);

        marker("empty name");
        player.internalPlay("", "de_de");
        marker("null name");
        player.internalPlay(null, "de_de");

        play(player, "w1234a", raw, data.resolve("schule.pcm"));
        play(player, "w1234b", raw, data.resolve("strasse.pcm"));
        play(player, "w1234c", raw, data.resolve("wasser.pcm"));

        marker("missing library");
        player.internalPlay("w5000a", "de_de");
        marker("missing resource");
        player.internalPlay("w1235a", "de_de");
        marker("polish");
        player.internalPlay("w1234a", "pl_pl");
        marker("unknown code");
        player.internalPlay("w1234a", "fr_fr");
        marker("null code");
        player.internalPlay("w1234a", null);
        marker("done");

        if (failures > 0) {
            System.out.println(failures + " check(s) failed");
            System.exit(1);
        }
        System.out.println("all checks passed");
    }
}

package demo;

import com.corvantis.quillory.database.Word;
import com.corvantis.utilities.QzAudioPlayer;
import java.io.ByteArrayOutputStream;
import java.io.FileOutputStream;
import java.io.FileDescriptor;
import java.io.IOException;
import java.io.PrintStream;
import java.nio.ByteBuffer;
import java.nio.ByteOrder;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.Arrays;
import java.util.HashMap;
import java.util.List;
import java.util.Map;

/**
 * The native side at work, as the application uses it: sets both libraries
 * up, then shows the syllables and the difficulty level of each word given
 * on the command line (or of a few German words) and speaks each word that
 * has a recording in the demo's media directory.
 *
 * Properties: quill.media, the media directory (with its final separator);
 * quill.soundFile and quill.waveFile, set where there is no sound device:
 * the raw file that ALSA's file plugin writes for each word, and the WAVE
 * file that collects them all.
 */
public final class Demo {
    /** media.cmake records the same words, in the same order. */
    private static final List<String> SAMPLE_WORDS = Arrays.asList(
        "Haus", "Schule", "fahren", "Eier", "See", "Fahrrad", "Straße", "Wasser",
        "Tomatensalat", "Häuser", "Übung", "Bananenplantage", "pst", "123");

    /** Audio kind 3: "mp3\right", the recording libraries "aud_de_de_mr_NN.dll". */
    private static final int AUDIO_KIND = 3;

    public static void main(String[] args) throws IOException {
        PrintStream out = new PrintStream(
            new FileOutputStream(FileDescriptor.out), true, StandardCharsets.UTF_8);
        List<String> words = args.length > 0 ? Arrays.asList(args) : SAMPLE_WORDS;
        String media = System.getProperty("quill.media", "media/");
        Map<String, String> recordings = readRecordings(Path.of(media, "words.txt"));

        Speaker speaker = new Speaker(out, media, System.getProperty("quill.soundFile"),
                                      System.getProperty("quill.waveFile"));
        Word._nativeInit(AUDIO_KIND, media);
        printRatings(out, words, recordings, speaker);
        if (!speaker.finish()) {
            System.exit(1);
        }
    }

    static void printRatings(PrintStream out, List<String> words, Map<String, String> recordings,
                             Speaker speaker) throws IOException {
        int width = "Word".length();
        for (String word : words) {
            width = Math.max(width, word.codePointCount(0, word.length()));
        }
        String rule = "-".repeat(width + 2) + "+" + "-".repeat(11) + "+" + "-".repeat(12);
        out.println(pad("Word", width) + "  | Syllables | Difficulty");
        out.println(rule);
        for (String word : words) {
            int syllables = Word._calcNbSyllables(word);
            int difficulty = Word._calcDifficulty(word);
            out.printf("%s  | %9d | %10d%n", pad(word, width), syllables, difficulty);
            String recording = recordings.get(word);
            if (recording != null) {
                speaker.speak(recording);
            }
        }
    }

    /** word=recording lines; none when the file is missing. */
    static Map<String, String> readRecordings(Path index) throws IOException {
        Map<String, String> recordings = new HashMap<>();
        if (!Files.exists(index)) {
            return recordings;
        }
        for (String line : Files.readAllLines(index, StandardCharsets.UTF_8)) {
            int equals = line.indexOf('=');
            if (equals > 0) {
                recordings.put(line.substring(0, equals), line.substring(equals + 1));
            }
        }
        return recordings;
    }

    /** Pads to a width in characters as a terminal shows them. */
    private static String pad(String text, int width) {
        int length = text.codePointCount(0, text.length());
        return text + " ".repeat(Math.max(0, width - length));
    }

    /** Speaks through the audio library, or collects what it played into a WAVE file. */
    static final class Speaker {
        private final QzAudioPlayer player = new QzAudioPlayer();
        private final Path soundFile;
        private final Path waveFile;
        private final ByteArrayOutputStream spoken = new ByteArrayOutputStream();
        private int words;
        private int unheard;

        Speaker(PrintStream out, String media, String soundFile, String waveFile) {
            this.soundFile = soundFile == null ? null : Path.of(soundFile);
            this.waveFile = waveFile == null ? null : Path.of(waveFile);
            if (this.waveFile != null) {
                out.println("No sound device here: the words go to " + waveFile + " instead.");
            }
            player._nativeInit(AUDIO_KIND, media);
        }

        void speak(String recording) throws IOException {
            if (soundFile != null) {
                Files.deleteIfExists(soundFile);
            }
            player.internalPlay(recording, "de_de");
            ++words;
            // The file plugin starts the file again each time the device opens.
            byte[] samples = soundFile != null && Files.exists(soundFile)
                ? Files.readAllBytes(soundFile) : new byte[0];
            if (soundFile != null && samples.length == 0) {
                ++unheard;
            }
            spoken.write(samples);
        }

        /**
         * Writes the WAVE file: 16-bit stereo PCM at 44100 Hz. False, said in
         * one line, when a word spoken into it left no sound there.
         */
        boolean finish() throws IOException {
            if (waveFile == null) {
                return true;
            }
            byte[] samples = spoken.toByteArray();
            ByteBuffer header = ByteBuffer.allocate(44).order(ByteOrder.LITTLE_ENDIAN);
            header.put("RIFF".getBytes(StandardCharsets.US_ASCII)).putInt(36 + samples.length)
                  .put("WAVE".getBytes(StandardCharsets.US_ASCII))
                  .put("fmt ".getBytes(StandardCharsets.US_ASCII)).putInt(16)
                  .putShort((short) 1).putShort((short) 2).putInt(44100).putInt(176400)
                  .putShort((short) 4).putShort((short) 16)
                  .put("data".getBytes(StandardCharsets.US_ASCII)).putInt(samples.length);
            try (FileOutputStream file = new FileOutputStream(waveFile.toFile())) {
                file.write(header.array());
                file.write(samples);
            }
            if (soundFile != null) {
                Files.deleteIfExists(soundFile);
            }
            if (unheard > 0) {
                System.err.println("No sound reached " + waveFile + " for " + unheard + " of "
                                   + words + " words.");
                return false;
            }
            return true;
        }
    }
}

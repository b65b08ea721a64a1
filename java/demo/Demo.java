package demo;

import com.corvantis.quillory.database.Word;
import java.io.FileOutputStream;
import java.io.FileDescriptor;
import java.io.PrintStream;
import java.nio.charset.StandardCharsets;
import java.util.Arrays;
import java.util.List;

/**
 * The native side at work, as the application uses it: sets the word model
 * up, then shows the syllables and the difficulty level of each word given
 * on the command line (or of a few German words).
 */
public final class Demo {
    private static final List<String> SAMPLE_WORDS = Arrays.asList(
        "Haus", "Schule", "fahren", "Eier", "See", "Fahrrad", "Straße", "Wasser",
        "Tomatensalat", "Häuser", "Übung", "Bananenplantage", "pst", "123");

    /** Audio kind 3: "mp3\right"; the demo needs no recordings yet. */
    private static final int AUDIO_KIND = 3;

    public static void main(String[] args) {
        PrintStream out = new PrintStream(
            new FileOutputStream(FileDescriptor.out), true, StandardCharsets.UTF_8);
        List<String> words = args.length > 0 ? Arrays.asList(args) : SAMPLE_WORDS;

        Word._nativeInit(AUDIO_KIND, "media");
        printRatings(out, words);
    }

    static void printRatings(PrintStream out, List<String> words) {
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
        }
    }

    /** Pads to a width in characters as a terminal shows them. */
    private static String pad(String text, int width) {
        int length = text.codePointCount(0, text.length());
        return text + " ".repeat(Math.max(0, width - length));
    }
}
